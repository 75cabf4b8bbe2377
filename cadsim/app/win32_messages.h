#pragma once

#include <cstdint>

namespace cadsim::win32 {

// Messages the stand-in's main window takes on Windows besides WM_COPYDATA, for tests that stand in for
// the user's mouse: a pick of the object whose id is wParam, and the right click that ends the selection.
// Both return 1 when the command line accepted them. They lie in the WM_APP range (0x8000 and up).
inline constexpr std::uint32_t kPickMessage = 0x8000 + 1;
inline constexpr std::uint32_t kConfirmSelectionMessage = 0x8000 + 2;

// The window classes of the plain Win32 windows a stand-in opens when its Qt windows are not native ones
// (headless, or Qt's offscreen platform).
inline constexpr const wchar_t* kMainWindowClass = L"TiermarkAcadLtMain";
inline constexpr const wchar_t* kTextWindowClass = L"TiermarkAcadLtText";
// A second window titled like a main window (--second-main), told apart from the real one by its class.
inline constexpr const wchar_t* kSecondMainWindowClass = L"TiermarkAcadLtSecondMain";

}  // namespace cadsim::win32
