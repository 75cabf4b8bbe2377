#include "cadlink/drawing_access_posix.h"

#include <utility>

#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "common/utf.h"

namespace cadlink {

using posix::ByteReader;
using posix::ByteWriter;
using posix::Frame;
using posix::Request;

namespace {

// One request to the stand-in behind the drawing's window; the body of its reply.
tiermark::Result<std::vector<std::uint8_t>> ask(WindowHandle window, Request request,
                                                std::vector<std::uint8_t> payload,
                                                std::chrono::milliseconds timeout) {
    if (window == 0) {
        return tiermark::makeError("no target drawing");
    }
    return posix::replyBody(posix::exchange(posix::endpointProcessOf(window),
                                            Frame{static_cast<std::uint8_t>(request), std::move(payload)},
                                            timeout));
}

}  // namespace

tiermark::Result<std::vector<std::u16string>> PosixDrawingAccess::layerNames(WindowHandle window) {
    auto body = ask(window, Request::ListLayers, {}, m_timeout);
    if (!body) {
        return body.error();
    }
    ByteReader reader(*body);
    const auto count = reader.u32();
    if (!count) {
        return tiermark::makeError("the stand-in's layer list is malformed");
    }
    std::vector<std::u16string> names;
    for (std::uint32_t i = 0; i < *count; ++i) {
        auto name = reader.text();
        if (!name) {
            return tiermark::makeError("the stand-in's layer list is malformed");
        }
        names.push_back(tiermark::fromUtf8(*name));
    }
    return names;
}

tiermark::Result<std::vector<DrawingLayer>> PosixDrawingAccess::layerTable(WindowHandle window) {
    auto body = ask(window, Request::LayerTable, {}, m_timeout);
    if (!body) {
        return body.error();
    }
    ByteReader reader(*body);
    const auto count = reader.u32();
    if (!count) {
        return tiermark::makeError("the stand-in's layer table is malformed");
    }
    std::vector<DrawingLayer> layers;
    for (std::uint32_t i = 0; i < *count; ++i) {
        auto name = reader.text();
        auto colour = reader.i32();
        auto linetype = reader.text();
        if (!name || !colour || !linetype) {
            return tiermark::makeError("the stand-in's layer table is malformed");
        }
        layers.push_back(DrawingLayer{tiermark::fromUtf8(*name), *colour, tiermark::fromUtf8(*linetype)});
    }
    return layers;
}

tiermark::Result<std::u16string> PosixDrawingAccess::currentLayer(WindowHandle window) {
    auto body = ask(window, Request::CurrentLayer, {}, m_timeout);
    if (!body) {
        return body.error();
    }
    ByteReader reader(*body);
    const auto name = reader.text();
    if (!name) {
        return tiermark::makeError("the stand-in's current layer is malformed");
    }
    return tiermark::fromUtf8(*name);
}

tiermark::Result<void> PosixDrawingAccess::renameLayer(WindowHandle window, std::u16string_view oldName,
                                                       std::u16string_view newName) {
    ByteWriter writer;
    writer.text(tiermark::toUtf8(oldName)).text(tiermark::toUtf8(newName));
    auto body = ask(window, Request::RenameLayer, writer.take(), m_timeout);
    if (!body) {
        return body.error();
    }
    return {};
}

}  // namespace cadlink
