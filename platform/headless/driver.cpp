#include "platform/headless/driver.h"

#include <charconv>
#include <functional>
#include <optional>
#include <utility>

#include "platform/headless/headless_platform.h"
#include "platform/text_file.h"

namespace tosbel {

namespace {

// "Text1_3" is element 3 of Text1; a name with no such ending is a single
// control.
std::optional<std::pair<std::string_view, int>> splitIndex(std::string_view name) {
    const auto underscore = name.rfind('_');
    if (underscore == std::string_view::npos || underscore + 1 == name.size()) return std::nullopt;
    int index = 0;
    const std::string_view digits = name.substr(underscore + 1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return std::pair{name.substr(0, underscore), index};
}

bool usableChain(const Control& c) {
    for (const Control* at = &c; at; at = at->container)
        if (!at->visible || !at->enabled) return false;
    return true;
}

// The menus from the bar down to `item`, or empty when it is not on the bar.
bool pathTo(const MenuItem& item, const std::vector<MenuItem*>& level,
            std::vector<const MenuItem*>& path) {
    for (const MenuItem* m : level) {
        path.push_back(m);
        if (m == &item || pathTo(item, m->items, path)) return true;
        path.pop_back();
    }
    return false;
}

std::string utf8(char32_t c) {
    std::string out;
    appendUtf8(out, c);
    return out;
}

std::u32string characters(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t c = n == 1 ? lead : static_cast<char32_t>(lead & (0xFF >> (n + 1)));
        for (std::size_t k = 1; k < n && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += c;
        i += n;
    }
    return out;
}

// One action of the teacher's, from start to end.
class Acting {
public:
    explicit Acting(HeadlessPlatform& p) : p_(p) { p_.actionBegins(); }
    ~Acting() { p_.actionEnds(); }
    Acting(const Acting&) = delete;
    Acting& operator=(const Acting&) = delete;

private:
    HeadlessPlatform& p_;
};

}  // namespace

Control& Driver::control(std::string_view name) const {
    if (Control* c = form_.find(name)) return *c;
    if (const auto split = splitIndex(name))
        if (Control* c = form_.find(split->first, split->second)) return *c;
    throw std::invalid_argument("no control " + std::string(name) + " on " + form_.name);
}

MenuItem& Driver::menuItem(std::string_view name) const {
    if (MenuItem* m = form_.findMenu(name)) return *m;
    if (const auto split = splitIndex(name))
        if (MenuItem* m = form_.findMenu(split->first, split->second)) return *m;
    throw std::invalid_argument("no menu item " + std::string(name) + " on " + form_.name);
}

Control& Driver::usable(std::string_view name) const {
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    Control& c = control(name);
    if (!usableChain(c)) throw RefusedAction(std::string(name) + " is disabled or hidden");
    return c;
}

void Driver::click(std::string_view name) {
    const Acting acting(platform_);
    Control& c = usable(name);
    if (c.takesFocus()) form_.setFocus(c);
    c.mouseDown({});
    if (form_.isLoaded()) c.click();
}

void Driver::dblClick(std::string_view name) {
    const Acting acting(platform_);
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    // The window's own background, its toolbar and its status bar are no
    // controls but take double-clicks too.
    if (name.empty()) return form_.Form_DblClick();
    if (form_.toolbar && name == form_.toolbar->name && form_.toolbar->visible) {
        if (form_.toolbar->onDblClick) form_.toolbar->onDblClick();
        return;
    }
    if (form_.statusBar && name == form_.statusBar->name && form_.statusBar->visible) {
        if (form_.statusBar->onDblClick) form_.statusBar->onDblClick();
        return;
    }
    usable(name).dblClick();
}

void Driver::tick(std::string_view name) {
    const Acting acting(platform_);
    Control& c = usable(name);
    if (c.kind != ControlKind::CheckBox && c.kind != ControlKind::OptionButton)
        throw std::invalid_argument(std::string(name) + " cannot be ticked");
    if (c.takesFocus()) form_.setFocus(c);
    c.click();
}

void Driver::type(std::string_view name, std::string_view text) {
    const Acting acting(platform_);
    Control& box = usable(name);
    if (box.kind != ControlKind::TextBox || box.locked)
        throw RefusedAction(std::string(name) + " takes no typing");
    form_.setFocus(box);
    for (const char32_t c : characters(text)) {
        KeyPress press{c};
        form_.keyPress(&box, press);
        if (!form_.isLoaded()) return;
        // A handler may have moved the focus on (Enter in a name box).
        if (press.key != 0 && form_.focused() == &box) insertTyped(box, press.key);
    }
}

void Driver::insertTyped(Control& box, char32_t key) {
    if (key == kKeyEnter) return;
    if (key == kKeyBackspace) {
        if (box.selLength == 0 && box.selStart > 0) {
            --box.selStart;
            box.selLength = 1;
        }
        box.replaceSelection("");
        return;
    }
    if (key < 0x20) return;
    box.replaceSelection(utf8(key));
}

void Driver::key(char32_t key) {
    const Acting acting(platform_);
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    Control* at = form_.focused();
    KeyPress press{key};
    form_.keyPress(at, press);
    if (press.key == kKeyEscape && form_.pressCancel()) return;
    if (at && form_.isLoaded() && press.key != 0 && at->kind == ControlKind::TextBox &&
        form_.focused() == at)
        insertTyped(*at, press.key);
}

void Driver::hover(std::string_view name) {
    const Acting acting(platform_);
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    if (name.empty()) {
        if (form_.tracksMouse) form_.Form_MouseMove();
        return;
    }
    Control& c = control(name);
    if (c.visible && c.onMouseMove) c.onMouseMove();
}

void Driver::menu(std::string_view name) {
    const Acting acting(platform_);
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    MenuItem& item = menuItem(name);
    std::vector<const MenuItem*> path;
    if (!pathTo(item, form_.menuBar, path))
        throw RefusedAction(std::string(name) + " is on no menu of " + form_.name);
    for (const MenuItem* m : path)
        if (!m->enabled || !m->visible)
            throw RefusedAction(std::string(name) + " is disabled or hidden");
    item.click();
}

void Driver::toolbar(std::string_view name) {
    const Acting acting(platform_);
    if (!form_.isShown()) throw RefusedAction(form_.name + " is not shown");
    Toolbar* bar = form_.toolbar;
    const auto split = splitIndex(name);
    if (!bar || !split || split->first != bar->name || split->second < 1 ||
        split->second > static_cast<int>(bar->buttons.size()))
        throw std::invalid_argument("no toolbar button " + std::string(name) + " on " + form_.name);
    const ToolButton& b = bar->button(split->second);
    if (!bar->visible || !b.visible || b.separator || !b.isEnabled())
        throw RefusedAction(std::string(name) + " is disabled or hidden");
    bar->click(split->second);
}

void Driver::drag(std::string_view from, std::string_view to) {
    const Acting acting(platform_);
    Control& source = usable(from);
    platform_.dragging = nullptr;
    if (source.takesFocus()) form_.setFocus(source);
    source.mouseDown({});
    if (platform_.dragging != &source)
        throw RefusedAction("a press on " + std::string(from) + " starts no drag");
    platform_.dragging = nullptr;
    Control* target = to.empty() ? nullptr : &control(to);
    if (target && !target->visible) throw RefusedAction(std::string(to) + " is hidden");
    form_.dragOver(target, source, DragState::Enter);
    if (form_.isLoaded()) form_.drop(target, source);
}

}  // namespace tosbel
