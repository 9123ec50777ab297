// Arrow keys in a group of radio buttons choose, as they do on every desktop:
// Down and Right tick the next button that can be ticked, Up and Left the
// previous one, and the focus follows. Qt's own handling only moves the focus
// while no button of the group is ticked yet.
#pragma once

#include <QObject>

class QButtonGroup;

namespace tarnwick {

class RadioArrowKeys : public QObject {
    Q_OBJECT
public:
    // Watches every button of group (those added later are not watched).
    explicit RadioArrowKeys(QButtonGroup* group);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* m_group;
};

}  // namespace tarnwick
