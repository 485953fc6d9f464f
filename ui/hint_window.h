#pragma once

#include "form/hint_layout.h"

#include <QWidget>

namespace sg::ui {

// The reference sheet: mode bits and the bit-rate divisor, black and blue on white.
class HintSheet : public QWidget
{
    Q_OBJECT

public:
    explicit HintSheet(QWidget *parent = nullptr);

    // The runs as they are painted at the sheet's width.
    form::HintLayout layout() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The Help window: owned by the main window, shown without blocking it.
class HintWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HintWindow(QWidget *owner);

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace sg::ui
