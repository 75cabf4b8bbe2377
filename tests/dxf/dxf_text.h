#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Test drawings made group by group.
namespace dxf {

// A DXF file from its groups: as ASCII ("code\nvalue\n" pairs) or as binary DXF.
class DxfText {
public:
    DxfText& group(int code, const std::string& value) {
        m_groups.emplace_back(code, value);
        return *this;
    }
    DxfText& header(const std::string& version, const std::string& codePage) {
        group(0, "SECTION").group(2, "HEADER");
        if (!version.empty()) {
            group(9, "$ACADVER").group(1, version);
        }
        if (!codePage.empty()) {
            group(9, "$DWGCODEPAGE").group(3, codePage);
        }
        group(9, "$EXTMIN").group(10, "0.0").group(20, "-1.5").group(30, "0.0");
        return group(0, "ENDSEC");
    }
    DxfText& beginLayers() {
        return group(0, "SECTION")
            .group(2, "TABLES")
            .group(0, "TABLE")
            .group(2, "LTYPE")
            .group(0, "ENDTAB")
            .group(0, "TABLE")
            .group(2, "LAYER")
            .group(70, "3");
    }
    DxfText& layer(const std::string& name, int colour, const std::string& linetype, int flags = 0) {
        return group(0, "LAYER")
            .group(5, "10")
            .group(100, "AcDbSymbolTableRecord")
            .group(2, name)
            .group(70, std::to_string(flags))
            .group(62, std::to_string(colour))
            .group(6, linetype)
            .group(290, "1")
            .group(370, "-3");
    }
    DxfText& endLayers() { return group(0, "ENDTAB").group(0, "ENDSEC"); }
    DxfText& end() { return group(0, "EOF"); }

    // ASCII DXF with the line end given (LF, or CR LF as AutoCAD writes it).
    std::string text(std::string_view lineEnd = "\n") const {
        std::string out;
        for (const auto& [code, value] : m_groups) {
            out += std::to_string(code);
            out += lineEnd;
            out += value;
            out += lineEnd;
        }
        return out;
    }

    // Binary DXF: two-byte group codes, or one-byte codes as R12 writes them.
    std::string binary(bool oneByteCodes = false) const {
        std::string out("AutoCAD Binary DXF\r\n\x1a\0", 22);
        const auto little = [&](std::uint64_t value, int count) {
            for (int i = 0; i < count; ++i) {
                out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
            }
        };
        for (const auto& [code, value] : m_groups) {
            if (oneByteCodes && code >= 255) {
                out.push_back('\xFF');  // a code beyond one byte follows in two
                little(static_cast<std::uint64_t>(code), 2);
            } else {
                little(static_cast<std::uint64_t>(code), oneByteCodes ? 1 : 2);
            }
            if (code == 10 || code == 20 || code == 30) {
                const double number = std::stod(value);
                std::uint64_t raw = 0;
                std::memcpy(&raw, &number, sizeof raw);
                little(raw, 8);
            } else if (code == 62 || code == 70 || code == 370) {
                little(static_cast<std::uint64_t>(std::stoi(value)), 2);
            } else if (code == 420 || code == 90) {
                little(static_cast<std::uint64_t>(std::stol(value)), 4);
            } else if (code == 290) {
                little(static_cast<std::uint64_t>(std::stoi(value)), 1);
            } else if (code == 310) {
                out.push_back(static_cast<char>(value.size()));
                out += value;
            } else {
                out += value;
                out.push_back('\0');
            }
        }
        return out;
    }

private:
    std::vector<std::pair<int, std::string>> m_groups;
};

}  // namespace dxf
