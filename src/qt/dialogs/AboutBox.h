#pragma once

// The version box: the program's icon, name and version, and an OK button.

#include <QDialog>

namespace zentabo {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The program's image, drawn in code: a page with a tag on it.
    static QPixmap ProgramIcon();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace zentabo
