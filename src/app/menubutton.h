#pragma once

#include <QPushButton>

// A flat-coloured push button whose caption wraps onto a second line when it is too long for
// one ("Judge's Class Assignments"). Its background is the palette's Button colour.
class MenuButton : public QPushButton
{
    Q_OBJECT
public:
    explicit MenuButton(const QString &caption, QWidget *parent = nullptr);

    void setBackColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
};
