#pragma once

#include <functional>
#include <utility>

namespace tosbel {

// Counts the QtPlatform's handlers and blocking calls; when the last one ends,
// the windows that closed meanwhile are freed.
class Busy {
public:
    Busy(int& count, std::function<void()> idle) : count_(count), idle_(std::move(idle)) {
        ++count_;
    }
    ~Busy() {
        if (--count_ == 0) idle_();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    int& count_;
    std::function<void()> idle_;
};

}  // namespace tosbel
