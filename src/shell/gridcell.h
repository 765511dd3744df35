#pragma once

#include <QCheckBox>

// One cell of a check-box grid: a square box that shows an X in a black frame when ticked, a
// flat white box when free, and a raised grey button while it is locked (disabled). The arrow
// keys ask the grid to move to the neighbouring cell.
class GridCell : public QCheckBox
{
    Q_OBJECT

public:
    explicit GridCell(QWidget *parent);

    QSize sizeHint() const override;

Q_SIGNALS:
    void stepRequested(int rows, int columns);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void keyPressEvent(QKeyEvent *event) override;
};
