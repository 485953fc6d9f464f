#include "presenter/window_presenter.h"

#include "protocol/port_resolver.h"

#include "model/hex_codec.h"
#include "model/normalize_fields.h"
#include "model/param_decoder.h"

namespace sg::presenter {

namespace {

using transfer::TransferEnd;

using form::COM_BOX;
using form::DATA_BOX;
using form::PARAM_BOXES;

// The boxes the blocks are edited in: DATA and the eight parameter boxes.
bool IsBlockBox(const form::ControlRef &box)
{
    return box == DATA_BOX || box.name == PARAM_BOXES;
}

} // namespace

WindowPresenter::WindowPresenter(WindowView &view, const protocol::PortLister &ports,
                                 transfer::TransferEngine &engine, Alerts &alerts)
    : m_view(view), m_ports(ports), m_engine(engine), m_alerts(alerts)
{
    m_engine.setEvents(this);
}

WindowPresenter::~WindowPresenter()
{
    m_engine.setEvents(nullptr);
}

void WindowPresenter::readPressed()
{
    start(true);
}

void WindowPresenter::storePressed()
{
    start(false);
}

void WindowPresenter::boxLeft(const form::ControlRef &box)
{
    if (IsBlockBox(box))
        model::NormalizeFields(m_view, m_blocks);
}

void WindowPresenter::helpPressed(const form::ControlRef *focused)
{
    if (focused)
        boxLeft(*focused);
}

std::string WindowPresenter::toolTip(const form::ControlRef &box) const
{
    // The ports as they are now: adapters come and go while the window is open.
    if (box == COM_BOX)
        return m_ports.catalog().text();
    // What the boxes mean as they stand, read without repairing them under the user's hands.
    const model::Blocks blocks = model::ReadBlocks(m_view);
    if (box == DATA_BOX)
        return model::ExplainData(blocks.data);
    if (box.name == PARAM_BOXES)
        return model::ExplainParam(blocks.params, static_cast<std::size_t>(box.index));
    return {};
}

void WindowPresenter::start(bool read)
{
    if (m_engine.busy())
        return;
    model::NormalizeFields(m_view, m_blocks);
    const protocol::Resolved target =
        protocol::ResolveComText(m_view.text(COM_BOX), m_ports.catalog());
    read ? m_engine.startRead(target) : m_engine.startStore(target, m_blocks);
    if (m_engine.busy())
        DisableTransferButtons();
}

void WindowPresenter::paramsRead(const model::ParamBlock &params)
{
    for (std::size_t i = 0; i < model::PARAM_COUNT; ++i)
        m_view.setParamText(i, model::ByteToHex(params[i]));
}

// The steps before the port closes, in their order.
void WindowPresenter::transferEnding(const transfer::TransferOutcome &outcome)
{
    if (outcome.end == TransferEnd::Ok && !outcome.read)
        return;
    // A Read changes only the boxes: the blocks keep their values.
    if (outcome.end == TransferEnd::Ok)
        m_view.setDataText(model::BytesToHex(outcome.blocks.data));
    EnableTransferButtons();
}

// What follows once everything is idle: a failure speaks only now.
void WindowPresenter::transferEnded(const transfer::TransferOutcome &outcome)
{
    switch (outcome.end) {
    case TransferEnd::Ok:
        if (!outcome.read) {
            EnableTransferButtons();
            model::NormalizeFields(m_view, m_blocks);
        }
        break;
    case TransferEnd::NoResponse:
        m_alerts.warning(transfer::NO_RESPONSE_TEXT, outcome.reason);
        break;
    case TransferEnd::ComError:
        m_alerts.critical(transfer::COM_ERROR_TEXT, outcome.reason);
        break;
    }
}

void WindowPresenter::EnableTransferButtons()
{
    m_view.setEnabled(form::READ_BUTTON, true);
    m_view.setEnabled(form::STORE_BUTTON, true);
}

void WindowPresenter::DisableTransferButtons()
{
    m_view.setEnabled(form::READ_BUTTON, false);
    m_view.setEnabled(form::STORE_BUTTON, false);
}

} // namespace sg::presenter
