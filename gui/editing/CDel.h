// Dialog 168, "Osgrel Tarnwick Ambrel": asks whether the ticked profiles are
// to be deleted. "Yes" closes it with OK, "No" (the default) with Cancel.
#pragma once

#include <QDialog>

namespace tarnwick {

class CDel : public QDialog {
    Q_OBJECT
public:
    explicit CDel(QWidget* parent = nullptr);
};

}  // namespace tarnwick
