// An object that commands are routed to. Handlers are registered by command
// identifier (the message map); the application walks the routing chain and
// asks each target in turn.
#pragma once

#include "framework/CCmdUI.h"

#include <functional>
#include <unordered_map>
#include <vector>

class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(unsigned id)>;
    using UpdateHandler = std::function<void(CCmdUI*)>;

    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs this target's handler for `id`; false when it has none.
    virtual bool OnCmdMsg(unsigned id);
    // Runs this target's update handler for `ui->m_nID`; false when it has none.
    virtual bool OnUpdateCmdMsg(CCmdUI* ui);
    // Whether this target has a command handler for `id`.
    virtual bool HasCommandHandler(unsigned id) const;

protected:
    void OnCommand(unsigned id, Handler handler);
    void OnCommandRange(unsigned first, unsigned last, RangeHandler handler);
    void OnUpdateCommand(unsigned id, UpdateHandler handler);
    void OnUpdateCommandRange(unsigned first, unsigned last, UpdateHandler handler);

private:
    struct Range {
        unsigned m_nFirst;
        unsigned m_nLast;
        RangeHandler m_command;
        UpdateHandler m_update;
    };

    std::unordered_map<unsigned, Handler> m_commands;
    std::unordered_map<unsigned, UpdateHandler> m_updates;
    std::vector<Range> m_commandRanges;
    std::vector<Range> m_updateRanges;
};
