// A device's GStreamer side: the playbin, its volume element and what its bus reported.
//
// Shared between the caller's thread (which builds it and reads it), the state thread (which
// changes its state and, holding the last reference, tears it down) and GStreamer's streaming
// threads (which report on its bus).
#pragma once

#include <atomic>
#include <memory>

struct _GstElement;

namespace trallio::media {

struct Player {
    Player() = default;
    // Stops the pipeline (joining its streaming threads) and drops it. Blocks for a
    // millisecond or so, which is why the last reference is left to the state thread.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    _GstElement* pipeline = nullptr;
    _GstElement* volume = nullptr;  // owned by the pipeline
    std::atomic<bool> ended{false};
    std::atomic<bool> failed{false};
};

// Sets the pipeline's state on the state thread, in the order asked. A state change that fails
// marks the player failed.
void ChangeState(const std::shared_ptr<Player>& player, int state);
// Hands the caller's reference to the state thread, which drops it after every change asked
// before; the player is torn down there unless someone else still holds it.
void Release(std::shared_ptr<Player>&& player);
// Returns once the state thread has carried out everything asked so far.
void SettleStateChanges();

}  // namespace trallio::media
