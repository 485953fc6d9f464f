#pragma once

#include "form/form.h"
#include "model/blocks.h"
#include "presenter/alerts.h"
#include "presenter/window_view.h"
#include "protocol/port_catalog.h"
#include "transfer/transfer_engine.h"

#include <string>

namespace sg::presenter {

// What the main window does, whatever draws it: the boxes around a transfer, the
// buttons, the two messages and the tooltips. A window binds its controls here.
class WindowPresenter : public transfer::TransferEvents
{
public:
    WindowPresenter(WindowView &view, const protocol::PortLister &ports,
                    transfer::TransferEngine &engine, Alerts &alerts);
    ~WindowPresenter() override;
    WindowPresenter(const WindowPresenter &) = delete;
    WindowPresenter &operator=(const WindowPresenter &) = delete;

    void readPressed();
    void storePressed();
    // The focus left box, for anywhere but another window.
    void boxLeft(const form::ControlRef &box);
    // Going to Help leaves the box that has the focus, as Tab does, even when Alt+H moves
    // no focus; focused is null when no box has it.
    void helpPressed(const form::ControlRef *focused);
    // What box means as it stands now, or the ports there are for the COM box.
    std::string toolTip(const form::ControlRef &box) const;

    const model::Blocks &blocks() const { return m_blocks; }

    // transfer::TransferEvents
    void paramsRead(const model::ParamBlock &params) override;
    void transferEnding(const transfer::TransferOutcome &outcome) override;
    void transferEnded(const transfer::TransferOutcome &outcome) override;

private:
    void start(bool read);
    void EnableTransferButtons();
    void DisableTransferButtons();

    WindowView &m_view;
    const protocol::PortLister &m_ports;
    transfer::TransferEngine &m_engine;
    Alerts &m_alerts;
    model::Blocks m_blocks;
};

} // namespace sg::presenter
