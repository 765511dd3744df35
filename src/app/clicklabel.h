#pragma once

#include <QWidget>

// A label used as a button: a click (or Space/Enter while it has the focus) emits clicked().
// Its colours are a background and a text colour, as a flat button's. Screen readers see a
// button named by its caption. It draws its caption itself: a label that takes the focus
// would lay its text out as a whole document, a cost start-up does not need.
class ClickLabel : public QWidget
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &caption, QWidget *parent = nullptr);

    void setColors(const QColor &back, const QColor &fore);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    bool m_pressed = false;
};
