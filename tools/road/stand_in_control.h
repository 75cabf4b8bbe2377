#pragma once

#include <QJsonDocument>
#include <QString>

#include <cstdint>
#include <vector>

#include "common/result.h"

// The control requests of the CAD stand-in that a person would make with the mouse: pick objects, confirm
// the selection with a right click; and what an observer asks: the drawing's state, a screenshot.
namespace road {

class StandInControl {
public:
    explicit StandInControl(std::uint32_t processId) : m_processId(processId) {}

    tiermark::Result<void> pick(const std::vector<std::int32_t>& ids);
    tiermark::Result<void> confirm();
    tiermark::Result<QJsonDocument> state();
    tiermark::Result<void> screenshot(const QString& pngPath);

private:
    std::uint32_t m_processId;
};

}  // namespace road
