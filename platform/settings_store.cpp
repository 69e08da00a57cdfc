#include "platform/settings_store.h"

#include "platform/platform.h"

namespace tosbel {

bool NoticingSettingsStore::save(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (store_.save(section, key, value)) return true;
    if (!told_) {
        told_ = true;
        const std::string where = location();
        platform_.messageBox({"設定を保存できませんでした。" +
                                  (where.empty() ? "" : "\n" + where + "\n") +
                                  "ディスクの空きと書き込みの許可を確認して下さい。",
                              "設定の保存確認", MsgButtons::Ok, MsgIcon::Exclamation});
    }
    return false;
}

}  // namespace tosbel
