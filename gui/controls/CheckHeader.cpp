#include "gui/controls/CheckHeader.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>

#include "gui/res/Resources.h"

namespace tarnwick {

CheckHeader::CheckHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &QHeaderView::sectionClicked, this, &CheckHeader::onSectionClicked);
    initResources();
    loadImages(QStringLiteral(":/pictures/checkheader.png"));
}

CheckHeader::~CheckHeader() = default;

bool CheckHeader::loadImages(const QString& stripPath) {
    QImage strip(stripPath);
    if (strip.isNull() || strip.width() < 48 || strip.height() < 16) {
        return false;
    }
    // Magenta is the strip's transparent colour.
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == (magenta & 0x00FFFFFF)) {
                line[x] = 0;
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        m_images[i] = QPixmap::fromImage(strip.copy(i * 16, 0, 16, 16));
    }
    return true;
}

void CheckHeader::setImage(HeaderCheck image) {
    if (m_image == image) {
        return;
    }
    m_image = image;
    viewport()->update();
}

void CheckHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    // The box goes over the finished heading of column 0, so nothing the
    // style draws for the sections can cover it.
    if (count() == 0 || isSectionHidden(0)) {
        return;
    }
    const QRect rect(sectionViewportPosition(0), 0, sectionSize(0), viewport()->height());
    QPainter painter(viewport());
    const QPixmap& picture = m_images[static_cast<int>(m_image)];
    if (!picture.isNull()) {
        const QPoint at(rect.left() + (rect.width() - 16) / 2,
                        rect.top() + (rect.height() - 16) / 2);
        painter.drawPixmap(at, picture);
        return;
    }
    QStyleOptionButton box;
    box.initFrom(this);
    box.rect =
        QRect(rect.left() + (rect.width() - 14) / 2, rect.top() + (rect.height() - 14) / 2, 14, 14);
    box.state |= m_image == HeaderCheck::All    ? QStyle::State_On
                 : m_image == HeaderCheck::Some ? QStyle::State_NoChange
                                                : QStyle::State_Off;
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
}

void CheckHeader::onSectionClicked(int logicalIndex) {
    if (logicalIndex != 0) {
        return;
    }
    const HeaderCheck next = nextHeaderCheck(m_image);
    setImage(next);
    emit checkBoxClicked(next == HeaderCheck::All);
}

}  // namespace tarnwick
