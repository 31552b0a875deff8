#include "TrayGestures.h"

#include <utility>

namespace launcher {

TrayEvent TrayNotifications::Classify(bool version4, std::uintptr_t lParam) {
    const unsigned notification = static_cast<unsigned>(lParam & 0xFFFF);
    const bool afterRightButton = std::exchange(m_rightButtonUp, false);
    if (version4 && ((lParam >> 16) & 0xFFFF) != kTrayIconId) return {};
    switch (notification) {
    case kTrayBalloonClick:
        return {TrayGesture::BalloonClicked, false};
    case kTrayBalloonHide:
    case kTrayBalloonTimeout:
        return {TrayGesture::BalloonGone, false};
    default:
        break;
    }
    if (!version4) {
        if (notification == kTrayLeftButtonUp) return {TrayGesture::OpenExplorer, false};
        if (notification == kTrayRightButtonUp) return {TrayGesture::ShowMenu, false};
        return {};
    }
    switch (notification) {
    case kTraySelect:
        return {TrayGesture::OpenExplorer, false};
    case kTrayKeySelect:
        return {TrayGesture::OpenExplorer, true};
    case kTrayRightButtonUp:
        m_rightButtonUp = true;
        return {};
    case kTrayContextMenu:
        return {TrayGesture::ShowMenu, !afterRightButton};
    default:
        return {};
    }
}

}  // namespace launcher
