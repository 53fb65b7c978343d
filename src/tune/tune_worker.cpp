#include "tune_worker.h"

namespace vek1 {

TuneWorker::TuneWorker(QObject* parent) : QObject(parent) {
  qRegisterMetaType<vek1::TuneProgress>();
  qRegisterMetaType<vek1::TuneResult>();
  qRegisterMetaType<std::optional<vek1::TuneEventsTables>>();
  // The search thread emits `finished`; the queued connection brings it to this object's
  // thread, where the search thread is joined before anyone hears of the result.
  connect(this, &TuneWorker::finished, this, &TuneWorker::onFinished, Qt::QueuedConnection);
}

TuneWorker::~TuneWorker() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

bool TuneWorker::start(Workspace copy, TuneSettings settings, TuneSearchOptions options) {
  if (running_) return false;
  if (thread_.joinable()) thread_.join();
  cancel_ = false;
  running_ = true;
  job_ = std::make_unique<Job>(Job{std::move(copy), std::move(settings), std::move(options)});
  thread_ = std::thread([this, job = job_.get()] {
    const TuneResult result = runTuneSearch(job->copy, job->settings, job->options, &cancel_,
                                            [this](const TuneProgress& p) { emit progressed(p); });
    std::optional<TuneEventsTables> tables;
    if (result.Outcome != TuneOutcome::Invalid && result.Outcome != TuneOutcome::Cancelled &&
        !cancel_)
      tables = tuneEventsTables(job->copy, result);
    emit finished(result, tables);
  });
  return true;
}

void TuneWorker::cancel() {
  cancel_ = true;
}

void TuneWorker::onFinished() {
  if (thread_.joinable()) thread_.join();
  running_ = false;
}

}  // namespace vek1
