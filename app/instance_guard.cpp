#include "app/instance_guard.h"

#include <QWidget>

namespace app {

void InstanceGuard::bringToFront(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    } else {
        window.show();
    }
    window.raise();
    window.activateWindow();
    takeForeground(window);
}

void InstanceGuard::takeForeground(QWidget&) {}

std::string instanceKey(std::u16string_view user) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string key;
    for (const char16_t unit : user) {
        const bool plain = (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') ||
                           (unit >= u'0' && unit <= u'9') || unit == u'-';
        if (plain) {
            key += static_cast<char>(unit);
        } else {
            key += '_';
            for (int shift = 12; shift >= 0; shift -= 4) {
                key += kHex[(unit >> shift) & 0xF];
            }
        }
    }
    return key.empty() ? std::string("unknown") : key;
}

bool takesPartInOneInstance(std::string_view platformName) {
    return platformName != "offscreen";
}

HandOver handOverToHolder(InstanceGuard& guard, int attempts, int waitMs,
                          const std::function<void(int)>& wait) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0) {
            wait(waitMs);
        }
        if (guard.askHolderToComeForward()) {
            return HandOver::Answered;
        }
    }
    return HandOver::NoAnswer;
}

std::u16string noAnswerMessage() {
    return u"Tiermark は既に起動していますが、応答がありません。\r"
           u"起動中の Tiermark を終了してから、もう一度起動してください。";
}

}  // namespace app
