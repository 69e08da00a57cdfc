#include "platform/headless/headless_platform.h"

#include <algorithm>

namespace tosbel {

void HeadlessPlatform::answerMessage(std::string expectedText, MsgAnswer answer) {
    script_.push_back({Kind::Message, std::move(expectedText), answer, std::nullopt});
}

void HeadlessPlatform::answerFileDialog(std::string path) {
    script_.push_back({Kind::File, std::move(path), MsgAnswer::Ok, std::nullopt});
}

void HeadlessPlatform::answerPrinter(std::optional<PrinterChoice> choice) {
    script_.push_back({Kind::Printer, {}, MsgAnswer::Ok, choice});
}

HeadlessPlatform::Answer HeadlessPlatform::take(Kind kind, const std::string& what) {
    if (script_.empty() || script_.front().kind != kind)
        throw UnexpectedDialog("unexpected " + what);
    Answer a = std::move(script_.front());
    script_.pop_front();
    return a;
}

MsgAnswer HeadlessPlatform::messageBox(const Message& m) {
    messages.push_back(m);
    const std::string what = "message \"" + m.text + "\" (" + m.title + ")";
    if (!script_.empty() && script_.front().kind == Kind::Message && script_.front().text != m.text)
        throw UnexpectedDialog(what + " where \"" + script_.front().text + "\" was expected");
    return take(Kind::Message, what).answer;
}

std::string HeadlessPlatform::openFileDialog(const FileDialogRequest& r) {
    openDialogs.push_back(r);
    return take(Kind::File, "open dialog \"" + r.title + "\"").text;
}

std::string HeadlessPlatform::saveFileDialog(const FileDialogRequest& r) {
    saveDialogs.push_back(r);
    return take(Kind::File, "save dialog \"" + r.title + "\"").text;
}

std::optional<PrinterChoice> HeadlessPlatform::printerDialog() {
    return take(Kind::Printer, "printer dialog").printer;
}

void HeadlessPlatform::showForm(Form& f, bool modal) {
    shown.push_back(f.name);
    if (std::find(openForms.begin(), openForms.end(), &f) == openForms.end())
        openForms.push_back(&f);
    f.Form_Activate();
    if (!modal) return;
    if (!modalDriver) throw UnexpectedDialog("unexpected modal window " + f.name);
    modalDriver(f);
    if (f.isShown()) throw UnexpectedDialog("modal window " + f.name + " was left open");
}

void HeadlessPlatform::formClosed(Form& f) {
    std::erase(openForms, &f);
}

void HeadlessPlatform::endProgram() {
    ended = true;
    const std::vector<Form*> forms = openForms;
    for (Form* f : forms) f->discard();
}

void HeadlessPlatform::fireTimer(Form& f, std::string_view timerName) {
    for (Timer* t : f.timers())
        if (t->name == timerName && t->enabled && t->onTimer) t->onTimer();
}

}  // namespace tosbel
