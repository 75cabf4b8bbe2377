#include "tools/road/stand_in_control.h"

#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"

namespace road {
namespace {

using cadlink::posix::ByteWriter;
using cadlink::posix::Frame;
using cadlink::posix::Request;

constexpr std::chrono::milliseconds kTimeout{5000};

tiermark::Result<std::vector<std::uint8_t>> ask(std::uint32_t processId, Request request,
                                                std::vector<std::uint8_t> body = {}) {
    Frame frame;
    frame.type = static_cast<std::uint8_t>(request);
    frame.body = std::move(body);
    return cadlink::posix::replyBody(cadlink::posix::exchange(processId, frame, kTimeout));
}

tiermark::Result<void> done(const tiermark::Result<std::vector<std::uint8_t>>& reply) {
    if (!reply) {
        return reply.error();
    }
    return {};
}

}  // namespace

tiermark::Result<void> StandInControl::pick(const std::vector<std::int32_t>& ids) {
    ByteWriter writer;
    writer.u32(static_cast<std::uint32_t>(ids.size()));
    for (std::int32_t id : ids) {
        writer.i32(id);
    }
    return done(ask(m_processId, Request::Pick, writer.take()));
}

tiermark::Result<void> StandInControl::confirm() {
    return done(ask(m_processId, Request::Confirm));
}

tiermark::Result<QJsonDocument> StandInControl::state() {
    auto reply = ask(m_processId, Request::State);
    if (!reply) {
        return reply.error();
    }
    cadlink::posix::ByteReader reader(*reply);
    auto json = reader.text();
    if (!json) {
        return tiermark::makeError("the stand-in's state reply is malformed");
    }
    QJsonParseError parseError{};
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(*json), &parseError);
    if (document.isNull()) {
        return tiermark::makeError("the stand-in's state is not JSON: " +
                                   parseError.errorString().toStdString());
    }
    return document;
}

tiermark::Result<void> StandInControl::screenshot(const QString& pngPath) {
    ByteWriter writer;
    writer.text(pngPath.toStdString());
    return done(ask(m_processId, Request::Screenshot, writer.take()));
}

}  // namespace road
