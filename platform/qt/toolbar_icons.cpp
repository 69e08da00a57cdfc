#include "platform/qt/toolbar_icons.h"

#include <QFile>

#include <map>
#include <utility>

#include "platform/qt/control_look.h"

namespace tosbel {

QString toolbarPicturePath(const std::string& image, bool large) {
    return QStringLiteral(":/toolbar/") + text(image) +
           (large ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
}

QIcon namedWindowIcon(const std::string& name) {
    QIcon icon;
    if (name.empty()) return icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        if (const QString path = QStringLiteral(":/icons/%1-%2.png").arg(text(name)).arg(side);
            QFile::exists(path))
            icon.addFile(path, QSize(side, side));
    return icon;
}

QIcon toolIcon(const ToolButton& b) {
    // A blank button (the main window's spare places, all hidden) has no
    // picture to draw.
    if (b.image.empty()) return {};
    // Windows are built afresh at every opening: each picture is read once
    // per run, not once per opening. Kept to the end of the process, past the
    // application whose pictures must not outlive it.
    static auto* made = new std::map<std::string, QIcon>;
    const auto found = made->find(b.image);
    if (found != made->end()) return found->second;
    QIcon icon;
    for (const bool large : {false, true})
        if (const QString path = toolbarPicturePath(b.image, large); QFile::exists(path))
            icon.addFile(path);
    return made->emplace(b.image, icon).first->second;
}

}  // namespace tosbel
