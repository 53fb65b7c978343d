#pragma once
// Runs a tuning search on a thread of its own, on its own copy of the working set, and reports
// to the user-interface thread through queued signals. The live set is never touched here.

#include <QObject>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "tune_search.h"
#include "workspace.h"

Q_DECLARE_METATYPE(vek1::TuneProgress)
Q_DECLARE_METATYPE(vek1::TuneResult)
Q_DECLARE_METATYPE(std::optional<vek1::TuneEventsTables>)

namespace vek1 {

class TuneWorker : public QObject {
  Q_OBJECT

 public:
  explicit TuneWorker(QObject* parent = nullptr);
  // Cancels a running search and waits for it, so no thread outlives the worker.
  ~TuneWorker() override;

  // Starts a search on `copy`; refused (false) while one is running.
  bool start(Workspace copy, TuneSettings settings, TuneSearchOptions options);
  // Asks the running search to stop; `finished` follows with the outcome Cancelled and no
  // tables.
  void cancel();
  bool running() const { return running_; }

 signals:
  void progressed(const vek1::TuneProgress& progress);
  // The result, and the events tables of the set before and after, worked out on the search
  // thread too (none for a search that was cancelled or had nothing to search).
  void finished(const vek1::TuneResult& result,
                const std::optional<vek1::TuneEventsTables>& tables);

 private:
  void onFinished();

  std::thread thread_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  // Holds what the search thread reads, so nothing it uses lives on the caller's stack.
  struct Job {
    Workspace copy;
    TuneSettings settings;
    TuneSearchOptions options;
  };
  std::unique_ptr<Job> job_;
};

}  // namespace vek1
