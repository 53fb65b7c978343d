// A program that leaks on purpose: once from a slot reached through the event loop and once from
// a widget's mouse handler, which are the places where Qt's own frames lie on the allocation's
// stack.
// check_slot_leak.sh runs it under the project's leak suppressions and requires both leaks to be
// reported, so that no suppression can hide a leak made in our own slots and handlers.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// Where the leaked blocks are counted, so the allocations cannot be optimised away.
volatile int sink = 0;

class Leaker : public QWidget {
 public:
  // Reached from the event loop by a queued call.
  void LeakFromSlot() {
    int* block = new int[16];
    block[0] = 1;
    sink = sink + block[0];
  }

 protected:
  void mousePressEvent(QMouseEvent*) override { LeakFromEventHandler(); }

 private:
  void LeakFromEventHandler() {
    int* block = new int[32];
    block[0] = 2;
    sink = sink + block[0];
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Leaker leaker;
  leaker.resize(100, 100);
  leaker.show();
  QMetaObject::invokeMethod(
      &leaker, [&leaker] { leaker.LeakFromSlot(); }, Qt::QueuedConnection);
  QTimer::singleShot(0, &leaker, [&leaker] { QTest::mouseClick(&leaker, Qt::LeftButton); });
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  const int code = app.exec();
  std::printf("leaked twice on purpose\n");
  return code;
}
