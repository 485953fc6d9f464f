#pragma once

#include "presenter/alerts.h"

class QWidget;

namespace sg::ui {

// The transfer's message boxes as modal QMessageBoxes with an empty title.
class QtAlerts : public presenter::Alerts
{
public:
    explicit QtAlerts(QWidget *parent) : m_parent(parent) {}

    void critical(std::string_view text, const std::string &detail) override;
    void warning(std::string_view text, const std::string &detail) override;

private:
    QWidget *m_parent;
};

} // namespace sg::ui
