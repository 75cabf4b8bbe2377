#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "cadsim/core/drawing.h"
#include "cadsim/core/interpreter.h"
#include "common/result.h"

namespace cadsim::win32 {

// What one Win32 stand-in holds apart from its windows: the drawing, the command line, the payload log
// and the state file. The windows hand it every copy-data message; only the main window's payloads with
// dwData 1 reach the command line, and every payload, taken or not, is one JSON line of the log.
class Session {
public:
    Session(std::u16string drawingName, Drawing drawing);

    tiermark::Result<void> openLog(const std::string& path);
    void setStateFile(std::string path);

    std::u16string mainTitle() const;
    std::u16string textWindowTitle() const;

    // One received copy-data payload; true when the command line took the text.
    bool takeCopyData(std::uint64_t window, bool toMainWindow, std::uint64_t wParam, std::uint32_t dwData,
                      std::vector<std::uint8_t> bytes);
    // A pick of one object, and the right click that ends the selection, as the mouse would give them.
    bool pick(int id);
    bool confirmSelection();

    // Writes the state file when the drawing or the command line changed since the last write.
    void changed();

private:
    std::u16string m_name;
    Drawing m_drawing;
    Interpreter m_interpreter;
    std::ofstream m_log;
    std::string m_stateFile;
    std::uint64_t m_seenDrawing = ~std::uint64_t{0};
    std::uint64_t m_seenCommandLine = ~std::uint64_t{0};
};

}  // namespace cadsim::win32
