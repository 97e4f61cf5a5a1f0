// A few items in flight from one thread to another: the analysis decodes the
// next pictures on one thread while the flow of the last ones is measured on
// another, so that on two cores neither waits for the other while both have
// work, and a slow reader holds the writer back instead of filling memory.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace ts::motion {

template <class T>
class HandOver {
public:
    explicit HandOver(size_t most) : most_(most < 1 ? 1 : most) {}

    // Waits while `most` items are waiting; false when the reader has stopped
    // (the item is dropped).
    bool put(T item) {
        std::unique_lock lock(mutex_);
        space_.wait(lock, [&] { return items_.size() < most_ || stopped_; });
        if (stopped_) return false;
        items_.push_back(std::move(item));
        ready_.notify_one();
        return true;
    }
    // The writer has no more to give.
    void close() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        ready_.notify_all();
    }
    // The reader wants no more: a waiting put() returns false.
    void stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        space_.notify_all();
    }
    // The next item; nullopt once the writer has closed and all are taken.
    std::optional<T> take() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !items_.empty() || closed_; });
        if (items_.empty()) return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        space_.notify_one();
        return item;
    }

private:
    const size_t most_;
    std::mutex mutex_;
    std::condition_variable space_, ready_;
    std::deque<T> items_;
    bool closed_ = false, stopped_ = false;
};

}  // namespace ts::motion
