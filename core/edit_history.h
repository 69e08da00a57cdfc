#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace tosbel {

// A window's hand changes kept as whole pictures of what it shows, so undo
// and redo never have to know what a step did. Each change is one step;
// typing into one box, until the focus leaves it, is one step too.
template <class Snapshot>
class EditHistory {
public:
    // What the window shows from now on, with nothing to undo or redo.
    void restart(Snapshot now) {
        undo_.clear();
        redo_.clear();
        settled_ = std::move(now);
        typing_ = -1;
    }

    // The program changed what is shown to `after`: what stood before is a
    // step to go back to, and what was undone can no longer be redone.
    void changed(Snapshot after) {
        push();
        settled_ = std::move(after);
    }

    // The teacher typed into box `box`, which now shows `now`.
    void typed(int box, Snapshot now) {
        if (typing_ != box) {
            push();
            typing_ = box;
        }
        settled_ = std::move(now);
    }
    void typingEnded() { typing_ = -1; }

    // What to show for an undo or a redo, `now` going on the other list;
    // none when there is nothing to take back.
    std::optional<Snapshot> undo(Snapshot now) { return across(undo_, redo_, std::move(now)); }
    std::optional<Snapshot> redo(Snapshot now) { return across(redo_, undo_, std::move(now)); }

    // What the last step left shown.
    const Snapshot& settled() const { return settled_; }
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

private:
    void push() {
        undo_.push_back(settled_);
        redo_.clear();
        typing_ = -1;
    }

    std::optional<Snapshot> across(std::vector<Snapshot>& from, std::vector<Snapshot>& to,
                                   Snapshot now) {
        if (from.empty()) return std::nullopt;
        to.push_back(std::move(now));
        settled_ = std::move(from.back());
        from.pop_back();
        typing_ = -1;
        return settled_;
    }

    std::vector<Snapshot> undo_, redo_;
    Snapshot settled_{};
    int typing_ = -1;
};

}  // namespace tosbel
