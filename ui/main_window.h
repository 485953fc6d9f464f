#pragma once

#include "link/qt_serial_link.h"
#include "model/blocks.h"
#include "transfer/transfer_controller.h"
#include "transfer/transfer_view.h"
#include "ui/qt_alerts.h"
#include "ui/qt_ticker.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace sg::ui {

class HintWindow;

// The tool's working window. It only wires the widgets to the transfer controller.
class MainWindow : public QWidget, public transfer::TransferView
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // transfer::TransferView
    std::u16string dataText() const override;
    void setDataText(const std::u16string &text) override;
    std::u16string paramText(std::size_t index) const override;
    void setParamText(std::size_t index, const std::u16string &text) override;
    std::u16string comText() const override;
    void setReadEnabled(bool enabled) override;
    void setStoreEnabled(bool enabled) override;

    const transfer::TransferController &controller() const { return m_controller; }
    HintWindow *hintWindow() const;
    bool isTransferTimerRunning() const { return m_ticker.isActive(); }
    bool isPortOpen() const { return m_link.isOpen(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildTabOrder();
    void showHelp();
    QLineEdit *addBox(const char *name, int index, const QString &text, int maxLength, QRect twips,
                      const QFont &font);
    QLabel *addLabel(const char *name, int index, const QString &text, QRect twips,
                     const QFont &font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    QPushButton *addButton(const char *name, const QString &text, QRect twips);

    QLineEdit *m_dataBox = nullptr;
    std::array<QLineEdit *, model::PARAM_COUNT> m_paramBoxes{};
    QLineEdit *m_comBox = nullptr;
    QPushButton *m_readButton = nullptr;
    QPushButton *m_storeButton = nullptr;
    QPointer<HintWindow> m_hintWindow;

    link::QtSerialLink m_link;
    QtTicker m_ticker;
    QtAlerts m_alerts;
    transfer::TransferController m_controller;
};

} // namespace sg::ui
