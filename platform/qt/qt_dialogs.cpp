// QtPlatform's message boxes and its file and folder dialogs: Qt's own, each
// run as a blocking call over the window that asked.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/qt/busy.h"
#include "platform/qt/control_look.h"
#include "platform/qt/name_filters.h"
#include "platform/qt/qt_platform.h"

namespace tosbel {

namespace {

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

std::string runFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, text(r.title), text(r.initialFolder));
    // Qt's own dialog behaves alike on every desktop and under a virtual screen.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(r.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    if (!r.fileName.empty()) dialog.selectFile(text(r.fileName));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return QDir::toNativeSeparators(QFileInfo(chosen.front()).absoluteFilePath()).toStdString();
}

}  // namespace

MsgAnswer QtPlatform::messageBox(const Message& m) {
    syncAll();
    const bool okCancel = m.buttons == MsgButtons::OkCancel;
    // The texts break their lines with CR, as the system they were written for
    // reads it.
    QString body = text(m.text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(iconOf(m.icon), text(m.title), body,
                    okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    dialogParent());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(okCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    {
        const Busy busy(busy_, [this] { releaseClosedWindows(); });
        box.exec();
    }
    if (!okCancel) return MsgAnswer::Ok;
    return box.clickedButton() == box.button(QMessageBox::Ok) ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

std::string QtPlatform::openFileDialog(const FileDialogRequest& r) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    return runFileDialog(dialogParent(), r, false);
}

std::string QtPlatform::saveFileDialog(const FileDialogRequest& r) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    return runFileDialog(dialogParent(), r, true);
}

std::string QtPlatform::folderDialog(const std::string& title, const std::string& initialFolder) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QFileDialog dialog(dialogParent(), text(title), text(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return QDir::toNativeSeparators(QFileInfo(chosen.front()).absoluteFilePath()).toStdString();
}

}  // namespace tosbel
