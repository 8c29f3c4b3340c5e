// Work off the GUI thread, one piece at a time, its outcome brought back.
//
// Contract: Run(work) runs `work` on a thread of its own; what it returns
// (a step for the GUI thread) is handed to `finish` there once it is done,
// unless the context object is gone by then. An exception thrown by `work`
// is thrown by the step instead, on the GUI thread, so that it is reported
// where every other failure is. `work` must not touch widgets, and must own
// (or share) everything it reads: the window may be closed while it runs.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace tf::platform {

class Worker final {
 public:
  using Step = std::function<void()>;
  using Work = std::function<Step()>;

  // Outcomes are handed to `finish` on `context`'s thread, and die with it.
  Worker(QObject* context, std::function<void(const Step&)> finish);
  // Waits for the running work, except once the program is ending: then
  // the work is left to finish on its own and its outcome is dropped.
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // True from Run() until its step has run (or been dropped).
  bool Busy() const { return m_busy; }
  // Starts `work`; Busy() must be false.
  void Run(Work work);

  // True when some work was left running at the end (see ~Worker): the
  // program should then end without running its static destructors,
  // which that work may still be using.
  static bool AnyLeftBehind();

 private:
  struct Mailbox;
  std::function<void(const Step&)> m_finish;
  std::shared_ptr<Mailbox> m_mailbox;
  bool m_busy = false;
};

}  // namespace tf::platform
