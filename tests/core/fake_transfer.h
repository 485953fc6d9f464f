#pragma once

#include "fake_field_view.h"
#include "presenter/alerts.h"
#include "presenter/window_view.h"
#include "protocol/serial_link.h"
#include "transfer/ticker.h"

#include <string>
#include <utility>
#include <vector>

// The fakes share one journal so that tests can check the order of effects.
using Journal = std::vector<std::string>;

class FakeView : public sg::presenter::WindowView
{
public:
    explicit FakeView(Journal &journal) : m_journal(journal) {}

    FakeFieldView fields;
    std::u16string com = u"1";
    bool readEnabled = true;
    bool storeEnabled = true;

    std::u16string text(const sg::form::ControlRef &box) const override
    {
        if (box == sg::form::COM_BOX)
            return com;
        return box == sg::form::DATA_BOX ? fields.dataText()
                                         : fields.paramText(std::size_t(box.index));
    }
    void setText(const sg::form::ControlRef &box, const std::u16string &text) override
    {
        box == sg::form::DATA_BOX ? fields.setDataText(text)
                                  : fields.setParamText(std::size_t(box.index), text);
    }
    void setEnabled(const sg::form::ControlRef &button, bool enabled) override
    {
        const bool read = button == sg::form::READ_BUTTON;
        (read ? readEnabled : storeEnabled) = enabled;
        m_journal.push_back(std::string(enabled ? "enable " : "disable ") +
                            (read ? "read" : "store"));
    }

private:
    Journal &m_journal;
};

class FakeLink : public sg::protocol::SerialLink
{
public:
    explicit FakeLink(Journal &journal) : m_journal(journal) {}

    bool openWorks = true;
    bool missing = false; // a failed open found no such port
    bool sendWorks = true;
    bool open_ = false;
    bool ready_ = true; // as a local port is at its open
    std::string device;
    std::vector<sg::model::ByteString> sent;
    sg::model::ByteString waiting; // arrived but not yet taken
    sg::protocol::SerialLinkListener *listener = nullptr;

    // Bytes arrive and the link says so.
    void arrive(const sg::model::ByteString &bytes)
    {
        waiting.insert(waiting.end(), bytes.begin(), bytes.end());
        listener->bytesArrived();
    }

    void setListener(sg::protocol::SerialLinkListener *l) override { listener = l; }
    bool isOpen() const override { return open_; }
    bool isReady() const override { return open_ && ready_; }
    bool open(const std::string &path) override
    {
        device = path;
        m_journal.push_back("open");
        open_ = openWorks;
        return openWorks;
    }
    bool send(const sg::model::ByteString &bytes) override
    {
        if (!sendWorks || !open_)
            return false;
        sent.push_back(bytes);
        return true;
    }
    sg::model::ByteString takeInput() override { return std::exchange(waiting, {}); }
    void close() override
    {
        if (open_)
            m_journal.push_back("close");
        open_ = false;
    }
    std::string lastError() const override { return "/dev/fake: reason"; }
    bool portMissing() const override { return missing; }

private:
    Journal &m_journal;
};

class FakeTicker : public sg::transfer::Ticker
{
public:
    explicit FakeTicker(Journal &journal) : m_journal(journal) {}

    bool running = false;
    int starts = 0;
    void start() override
    {
        running = true;
        ++starts;
    }
    void stop() override
    {
        if (running)
            m_journal.push_back("stop timer");
        running = false;
    }

private:
    Journal &m_journal;
};

class FakeAlerts : public sg::presenter::Alerts
{
public:
    explicit FakeAlerts(Journal &journal) : m_journal(journal) {}

    struct Alert
    {
        std::string kind, text, detail;
    };
    std::vector<Alert> shown;

    void critical(std::string_view text, const std::string &detail) override
    {
        show("critical", text, detail);
    }
    void warning(std::string_view text, const std::string &detail) override
    {
        show("warning", text, detail);
    }

private:
    void show(const std::string &kind, std::string_view text, const std::string &detail)
    {
        shown.push_back({kind, std::string(text), detail});
        m_journal.push_back(kind + " " + std::string(text));
    }
    Journal &m_journal;
};
