#pragma once

#include "reports/reportpage.h"

#include <QWidget>

// One page of a report on screen, white on the preview's grey and centred in the room it is
// given, painted from the page's items whenever a part of it shows. It keeps no picture of the
// page: a preview costs the same however many are open and whatever the zoom.
class PagePicture : public QWidget
{
public:
    explicit PagePicture(QWidget *parent = nullptr);

    // The page (null for none) at pixelsPerTwip; the page must outlive its showing here.
    void showPage(const Report::Page *page, double pixelsPerTwip);
    // The page's size on screen, in device-independent pixels.
    QSize pageSize() const;

    QSize sizeHint() const override { return pageSize(); }
    QSize minimumSizeHint() const override { return pageSize(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Report::Page *m_page = nullptr;
    double m_scale = 1.0;
};
