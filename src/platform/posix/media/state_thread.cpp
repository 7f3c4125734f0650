// The state thread: gst_element_set_state can take milliseconds (a pipeline going to PAUSED
// typefinds its file in the calling thread; going to NULL joins its streaming threads), which
// the caller's frame cannot spare. The caller queues the change and returns; this thread makes
// the changes one after another in the order they were asked, so a device's open, play and
// pause reach it in sequence.
#include <gst/gst.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/posix/media/player.h"

namespace trallio::media {

namespace {

// A state to set, or (state < 0) a reference to drop.
struct Job {
    std::shared_ptr<Player> player;
    int state;
};

class StateThread {
public:
    ~StateThread() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void Add(Job&& job) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            jobs_.push_back(std::move(job));
            if (!thread_.joinable()) {
                thread_ = std::thread(&StateThread::Run, this);
            }
        }
        wake_.notify_all();
    }

    void Settle() {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) {
                return;  // stopping, and everything asked is done
            }
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            if (job.state >= 0 &&
                gst_element_set_state(job.player->pipeline, static_cast<GstState>(job.state)) ==
                    GST_STATE_CHANGE_FAILURE) {
                job.player->failed.store(true, std::memory_order_release);
            }
            job.player.reset();  // the last reference tears the player down here
            lock.lock();
            busy_ = false;
            if (jobs_.empty()) {
                idle_.notify_all();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

StateThread& Thread() {
    static StateThread thread;
    return thread;
}

}  // namespace

void ChangeState(const std::shared_ptr<Player>& player, int state) {
    Thread().Add(Job{player, state});
}

void Release(std::shared_ptr<Player>&& player) {
    Thread().Add(Job{std::move(player), -1});
}

void SettleStateChanges() {
    Thread().Settle();
}

}  // namespace trallio::media
