#include "platform/worker.h"

#include <QMetaObject>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace tf::platform {
namespace {
std::atomic<int> g_leftBehind{0};
}  // namespace

// Where the worker thread leaves its outcome. The context is cleared under
// the lock before the context dies, so a posting thread never posts to a
// dying object.
struct Worker::Mailbox {
  std::mutex lock;
  QObject* context;
  std::thread thread;
};

Worker::Worker(QObject* context, std::function<void(const Step&)> finish)
    : m_finish(std::move(finish)), m_mailbox(std::make_shared<Mailbox>()) {
  m_mailbox->context = context;
}

Worker::~Worker() {
  {
    const std::lock_guard<std::mutex> hold(m_mailbox->lock);
    m_mailbox->context = nullptr;
  }
  if (!m_mailbox->thread.joinable()) return;
  if (Ending()) {
    g_leftBehind.fetch_add(1);
    m_mailbox->thread.detach();
  } else {
    m_mailbox->thread.join();
  }
}

bool Worker::AnyLeftBehind() { return g_leftBehind.load() > 0; }

void Worker::Run(Work work) {
  m_busy = true;
  if (m_mailbox->thread.joinable()) m_mailbox->thread.join();  // the last one, done already
  m_mailbox->thread = std::thread([mailbox = m_mailbox, work = std::move(work), this] {
    Step step;
    try {
      step = work();
    } catch (...) {
      step = [error = std::current_exception()] { std::rethrow_exception(error); };
    }
    const std::lock_guard<std::mutex> hold(mailbox->lock);
    if (!mailbox->context) return;  // the window is gone: nothing to show
    // `this` is alive while the context is: it is cleared first.
    QMetaObject::invokeMethod(
        mailbox->context,
        [this, step = std::move(step)] {
          m_busy = false;
          m_finish(step);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace tf::platform
