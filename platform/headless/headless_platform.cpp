#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/file_io.h"

namespace tosbel {

void HeadlessPlatform::answerMessage(Message expected, MsgAnswer answer) {
    script_.push_back({Kind::Message, {}, std::move(expected), answer, std::nullopt});
}

void HeadlessPlatform::answerFileDialog(std::string path) {
    script_.push_back({Kind::File, std::move(path), {}, MsgAnswer::Ok, std::nullopt});
}

void HeadlessPlatform::answerPrinter(std::optional<PrinterChoice> choice) {
    script_.push_back({Kind::Printer, {}, {}, MsgAnswer::Ok, choice});
}

void HeadlessPlatform::answerFolderDialog(std::string path) {
    script_.push_back({Kind::Folder, std::move(path), {}, MsgAnswer::Ok, std::nullopt});
}

std::string HeadlessPlatform::unusedScript() const {
    std::string out;
    for (const Answer& a : script_) {
        switch (a.kind) {
            case Kind::Message:
                out += "message \"" + a.message.text + "\" (" + a.message.title + ")\n";
                break;
            case Kind::File:
                out += "file dialog answered \"" + a.text + "\"\n";
                break;
            case Kind::Printer:
                out += "printer dialog\n";
                break;
            case Kind::Folder:
                out += "folder dialog answered \"" + a.text + "\"\n";
                break;
        }
    }
    return out;
}

HeadlessPlatform::Answer HeadlessPlatform::take(Kind kind, const std::string& what) {
    if (script_.empty() || script_.front().kind != kind)
        throw UnexpectedDialog("unexpected " + what);
    Answer a = std::move(script_.front());
    script_.pop_front();
    return a;
}

namespace {

std::string describe(const Message& m) {
    static constexpr const char* kIcons[] = {"no icon", "stop", "question", "exclamation",
                                             "information"};
    return "message \"" + m.text + "\" (" + m.title + ", " +
           (m.buttons == MsgButtons::Ok ? "OK" : "OK/Cancel") + ", " +
           kIcons[static_cast<int>(m.icon)] + ")";
}

}  // namespace

MsgAnswer HeadlessPlatform::messageBox(const Message& m) {
    messages.push_back(m);
    if (beforeAnswer) beforeAnswer(m);
    const std::string what = describe(m);
    if (!script_.empty() && script_.front().kind == Kind::Message && script_.front().message != m)
        throw UnexpectedDialog(what + " where " + describe(script_.front().message) +
                               " was expected");
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

std::string HeadlessPlatform::folderDialog(const std::string& title,
                                           const std::string& initialFolder) {
    folderDialogs.emplace_back(title, initialFolder);
    return take(Kind::Folder, "folder dialog \"" + title + "\"").text;
}

bool HeadlessPlatform::moveToTrash(const std::string& path) {
    std::error_code ec;
    if (!hasTrash || !std::filesystem::exists(pathOf(path), ec)) return false;
    // The trash is a folder beside the test's program folder's files.
    const std::filesystem::path bin = pathOf(folder) / ".trash";
    std::filesystem::create_directories(bin, ec);
    std::filesystem::rename(pathOf(path), bin / pathOf(path).filename(), ec);
    if (ec) return false;
    trashed.push_back(path);
    return true;
}

bool HeadlessPlatform::startProgram(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(pathOf(path), ec)) return false;
    started.push_back(path);
    return true;
}

std::optional<std::string> HeadlessPlatform::environment(const std::string& name) {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
}

namespace {

HeadlessPlatform::Sheet sheetOf(const PrintedPage& page, bool preview) {
    HeadlessPlatform::Sheet sheet{page.form->name, page.background,      preview, {}, {}, page.fit,
                                  page.heading,    page.heightOnPaper(), false};
    for (const Control* c : page.form->controls()) {
        const bool text = c->kind == ControlKind::Label || c->kind == ControlKind::TextBox;
        const PaperLook look = page.lookOf(*c);
        if (!text || !c->visible || !look.printed) continue;
        const std::string name = c->index < 0 ? c->name : c->name + "_" + std::to_string(c->index);
        sheet.items.push_back({name, c->kind == ControlKind::TextBox ? c->text : c->caption,
                               look.foreColor.value_or(c->foreColor),
                               look.backColor ? look.backColor : c->backColor, page.placeOf(*c)});
    }
    const StatusBar* bar = page.form->statusBar;
    if (page.statusBar && bar && bar->visible) {
        for (std::size_t i = 0; i < bar->panels.size(); ++i)
            sheet.items.push_back({bar->name + "_" + std::to_string(i + 1),
                                   bar->panels[i].text,
                                   Rgb{0, 0, 0},
                                   std::nullopt,
                                   {}});
    }
    return sheet;
}

}  // namespace

const HeadlessPlatform::SheetItem* HeadlessPlatform::Sheet::find(std::string_view name) const {
    for (const SheetItem& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

bool HeadlessPlatform::printPages(const std::vector<PrintedPage>& pages, int copies) {
    lastPages = pages;
    if (printerFails) return false;
    for (int i = 0; i < copies; ++i)
        for (const PrintedPage& page : pages) sheets.push_back(sheetOf(page, false));
    return true;
}

bool HeadlessPlatform::savePdf(const std::vector<PrintedPage>& pages, const std::string& path) {
    lastPages = pages;
    if (printerFails) return false;
    for (const PrintedPage& page : pages) {
        sheets.push_back(sheetOf(page, false));
        sheets.back().pdfFile = path;
    }
    return true;
}

std::optional<PrinterChoice> HeadlessPlatform::previewPages(const std::vector<PrintedPage>& pages) {
    lastPages = pages;
    for (const PrintedPage& page : pages) sheets.push_back(sheetOf(page, true));
    return std::nullopt;
}

std::optional<std::string> HeadlessPlatform::pagePicture(const PrintedPage& page) {
    lastPages = {page};
    if (pictureFails) return std::nullopt;
    sheets.push_back(sheetOf(page, false));
    sheets.back().picture = true;
    return pictureBytes;
}

void HeadlessPlatform::showClassroom(const ClassroomChart& chart) {
    if (chart.screen < 0 || static_cast<std::size_t>(chart.screen) >= screenPixels.size())
        throw std::out_of_range("the chart was sent to screen " + std::to_string(chart.screen) +
                                " of " + std::to_string(screenPixels.size()));
    classrooms.push_back(chart);
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

void HeadlessPlatform::releaseWhenIdle(std::unique_ptr<Form> form) {
    retired_.push_back(std::move(form));
}

void HeadlessPlatform::fireTimer(Form& f, std::string_view timerName) {
    for (Timer* t : f.timers())
        if (t->name == timerName && t->enabled && t->onTimer) t->onTimer();
}

}  // namespace tosbel
