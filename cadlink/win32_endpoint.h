#pragma once

#include <cstdint>

// The CAD stand-in's endpoint on Windows: the request frames of posix_protocol.h carried by WM_COPYDATA.
// Each stand-in owns a message-only window of class kEndpointWindowClass whose title is its process id in
// decimal. A client sends a request with dwData kEndpointRequestData, wParam its own (message-only) reply
// window and the frame's type byte and body as the data; before its window procedure returns, the stand-in
// sends the reply frame the same way to the client's window, with dwData kEndpointReplyData.
namespace cadlink::win32 {

inline constexpr const wchar_t* kEndpointWindowClass = L"TiermarkAcadLtEndpoint";
// Neither is 1, the command text of the CAD program's main window.
inline constexpr std::uint32_t kEndpointRequestData = 0x544D5251;  // "TMRQ"
inline constexpr std::uint32_t kEndpointReplyData = 0x544D5250;    // "TMRP"

}  // namespace cadlink::win32
