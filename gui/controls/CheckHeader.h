// The header of the profile list: its first section shows a three-state check
// box (some, none or every row ticked). A click on it asks the list to tick
// every row (from "none") or untick every row (from "some" or "all"); other
// sections do nothing when clicked.
#pragma once

#include <QHeaderView>
#include <QPixmap>

#include "viewrules/ListRules.h"

namespace tarnwick {

class CheckHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CheckHeader(QWidget* parent = nullptr);
    ~CheckHeader() override;

    HeaderCheck image() const { return m_image; }
    void setImage(HeaderCheck image);

    // The three pictures of the check box, from a strip of 16 x 16 pictures on
    // a magenta background (transparent); false when it cannot be loaded, and
    // the box is then drawn by the style.
    bool loadImages(const QString& stripPath);

signals:
    // After a click on the check box: tick (true) or untick every row.
    void checkBoxClicked(bool tickAll);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void onSectionClicked(int logicalIndex);

    HeaderCheck m_image = HeaderCheck::None;
    QPixmap m_images[3];
};

}  // namespace tarnwick
