#include "ui/qt_alerts.h"

#include <QMessageBox>

namespace sg::ui {

namespace {

void Show(QWidget *parent, QMessageBox::Icon icon, std::string_view text, const std::string &detail)
{
    QMessageBox box(icon, QString(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent);
    if (!detail.empty())
        box.setInformativeText(QString::fromStdString(detail));
    box.exec();
}

} // namespace

void QtAlerts::critical(std::string_view text, const std::string &detail)
{
    Show(m_parent, QMessageBox::Critical, text, detail);
}

void QtAlerts::warning(std::string_view text, const std::string &detail)
{
    Show(m_parent, QMessageBox::Warning, text, detail);
}

} // namespace sg::ui
