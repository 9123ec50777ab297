// A dialog with a picture as background: tiled (the default), centred, or
// stretched over the whole client area.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <vector>

namespace tarnwick {

class PictureDialog : public QDialog {
    Q_OBJECT
public:
    enum Style { Tile = 0, Centre = 1, Stretch = 2 };

    explicit PictureDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~PictureDialog() override;

    // Loads the picture (a file or resource path): 0 when loaded, 1 when not.
    int setBackgroundBitmap(const QString& path);
    // Tile, Centre or Stretch; any other value is ignored.
    void setBackgroundStyle(int style);
    int backgroundStyle() const { return m_style; }
    const QPixmap& background() const { return m_background; }

    // Where the tiles of a picture go in a client area, row by row.
    static std::vector<QPoint> tileOrigins(QSize client, QSize picture);
    // Where a centred picture goes: the middle, or 0 on a side it overflows.
    static QPoint centreOrigin(QSize client, QSize picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_background;
    int m_style = Tile;
};

}  // namespace tarnwick
