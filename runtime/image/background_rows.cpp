// Rows encoded on a thread of their own, so that the caller makes its next rows (an export
// renders them) while the last ones are compressed. Rows are copied into chunks of about a
// megabyte and only a few chunks may wait, which bounds the memory. Host-neutral.
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "runtime/image/row_encoder.h"

namespace {

constexpr size_t chunk_bytes = size_t(1) << 20;
constexpr size_t chunks_waiting = 4;

using chunk = std::vector<uint8_t>;

class background_rows final : public row_encoder {
public:
    background_rows(std::unique_ptr<row_encoder> inner, size_t row_bytes)
        : inner_(std::move(inner)), row_bytes_(row_bytes),
          chunk_size_(std::max(size_t(1), chunk_bytes / row_bytes) * row_bytes),
          worker_([this] { encode_chunks(); }) {}

    // Rows still waiting are dropped: a writer closed before its end keeps no file.
    ~background_rows() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }
    background_rows(const background_rows&) = delete;
    background_rows& operator=(const background_rows&) = delete;

    bool write_row(const uint8_t* row) override {
        if (failed_) return false;
        try {
            if (filling_.capacity() < chunk_size_) filling_.reserve(chunk_size_);
        } catch (const std::bad_alloc&) {
            return fail_for_lack_of_memory();
        }
        filling_.insert(filling_.end(), row, row + row_bytes_);
        return filling_.size() < chunk_size_ || hand_over();
    }

    bool finish() override {
        if (failed_ || !hand_over()) return fail();
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return (chunks_.empty() && !busy_) || inner_failed_; });
        if (inner_failed_ || !inner_->finish()) return fail_as_inner();
        return true;
    }

private:
    bool hand_over() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return chunks_.size() < chunks_waiting || inner_failed_; });
        if (inner_failed_) return fail_as_inner();
        if (!filling_.empty()) chunks_.push_back(std::move(filling_));
        filling_ = chunk();
        changed_.notify_all();
        return true;
    }

    void encode_chunks() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return quit_ || !chunks_.empty(); });
            if (quit_) return;
            const chunk rows = std::move(chunks_.front());
            chunks_.pop_front();
            busy_ = true;
            lock.unlock();
            bool written = true;
            for (size_t at = 0; written && at < rows.size(); at += row_bytes_)
                written = inner_->write_row(rows.data() + at);
            lock.lock();
            busy_ = false;
            if (!written) inner_failed_ = true;
            changed_.notify_all();
        }
    }

    bool fail_as_inner() { return inner_->lacked_memory() ? fail_for_lack_of_memory() : fail(); }

    std::unique_ptr<row_encoder> inner_;
    const size_t row_bytes_;
    const size_t chunk_size_;
    chunk filling_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<chunk> chunks_;
    bool busy_ = false;
    bool inner_failed_ = false;
    bool quit_ = false;
    std::thread worker_;  // last: it starts once everything it uses is there
};

}  // namespace

std::unique_ptr<row_encoder> in_background(std::unique_ptr<row_encoder> encoder, size_t row_bytes) try {
    if (!encoder) return nullptr;
    return std::make_unique<background_rows>(std::move(encoder), row_bytes);
} catch (const std::exception&) {
    return nullptr;
}
