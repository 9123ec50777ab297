#include "gui/controls/PictureDialog.h"

#include <QPainter>

namespace tarnwick {

PictureDialog::PictureDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

PictureDialog::~PictureDialog() = default;

int PictureDialog::setBackgroundBitmap(const QString& path) {
    QPixmap picture(path);
    if (picture.isNull()) {
        return 1;
    }
    m_background = picture;
    update();
    return 0;
}

void PictureDialog::setBackgroundStyle(int style) {
    if (style == Tile || style == Centre || style == Stretch) {
        m_style = style;
        update();
    }
}

std::vector<QPoint> PictureDialog::tileOrigins(QSize client, QSize picture) {
    std::vector<QPoint> origins;
    if (picture.width() <= 0 || picture.height() <= 0) {
        return origins;
    }
    for (int y = 0; y < client.height(); y += picture.height()) {
        for (int x = 0; x < client.width(); x += picture.width()) {
            origins.emplace_back(x, y);
        }
    }
    return origins;
}

QPoint PictureDialog::centreOrigin(QSize client, QSize picture) {
    return {picture.width() < client.width() ? (client.width() - picture.width()) / 2 : 0,
            picture.height() < client.height() ? (client.height() - picture.height()) / 2 : 0};
}

void PictureDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_background.isNull()) {
        return;
    }
    QPainter painter(this);
    const QSize picture = m_background.deviceIndependentSize().toSize();
    switch (m_style) {
        case Tile:
            for (const QPoint& at : tileOrigins(size(), picture)) {
                painter.drawPixmap(at, m_background);
            }
            break;
        case Centre:
            painter.drawPixmap(centreOrigin(size(), picture), m_background);
            break;
        case Stretch:
            painter.drawPixmap(rect(), m_background);
            break;
        default:
            break;
    }
}

}  // namespace tarnwick
