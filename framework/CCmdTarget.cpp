#include "framework/CCmdTarget.h"

bool CCmdTarget::OnCmdMsg(unsigned id) {
    if (const auto it = m_commands.find(id); it != m_commands.end()) {
        // A copy: the handler may close the object that holds the map.
        const Handler handler = it->second;
        handler();
        return true;
    }
    for (const Range& range : m_commandRanges) {
        if (id >= range.m_nFirst && id <= range.m_nLast) {
            const RangeHandler handler = range.m_command;
            handler(id);
            return true;
        }
    }
    return false;
}

bool CCmdTarget::OnUpdateCmdMsg(CCmdUI* ui) {
    if (const auto it = m_updates.find(ui->m_nID); it != m_updates.end()) {
        it->second(ui);
        return true;
    }
    for (const Range& range : m_updateRanges) {
        if (ui->m_nID >= range.m_nFirst && ui->m_nID <= range.m_nLast) {
            range.m_update(ui);
            return true;
        }
    }
    return false;
}

bool CCmdTarget::HasCommandHandler(unsigned id) const {
    if (m_commands.count(id))
        return true;
    for (const Range& range : m_commandRanges)
        if (id >= range.m_nFirst && id <= range.m_nLast)
            return true;
    return false;
}

void CCmdTarget::OnCommand(unsigned id, Handler handler) {
    m_commands[id] = std::move(handler);
}

void CCmdTarget::OnCommandRange(unsigned first, unsigned last, RangeHandler handler) {
    m_commandRanges.push_back({first, last, std::move(handler), {}});
}

void CCmdTarget::OnUpdateCommand(unsigned id, UpdateHandler handler) {
    m_updates[id] = std::move(handler);
}

void CCmdTarget::OnUpdateCommandRange(unsigned first, unsigned last, UpdateHandler handler) {
    m_updateRanges.push_back({first, last, {}, std::move(handler)});
}
