#include "reports/pagepicture.h"

#include "reports/reportpainter.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

PagePicture::PagePicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicPage"));
}

void PagePicture::showPage(const Report::Page *page, double pixelsPerTwip)
{
    m_page = page;
    m_scale = pixelsPerTwip;
    updateGeometry();
    update();
}

QSize PagePicture::pageSize() const
{
    if (!m_page)
        return {};
    return {std::max(1, int(std::lround(m_page->size.width() * m_scale))),
            std::max(1, int(std::lround(m_page->size.height() * m_scale)))};
}

void PagePicture::paintEvent(QPaintEvent *event)
{
    if (!m_page)
        return;
    QRect paper(QPoint(), pageSize());
    paper.moveCenter(rect().center());
    paper.moveTopLeft(QPoint(std::max(0, paper.left()), std::max(0, paper.top())));
    QPainter painter(this);
    painter.setClipRect(event->rect() & paper);
    painter.fillRect(paper, Qt::white);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.translate(paper.topLeft());
    painter.scale(m_scale, m_scale);
    Report::paintPage(*m_page, painter);
}
