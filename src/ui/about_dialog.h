#pragma once
// The About dialog: the program's name and version, who made it, and OK.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace corvane::ui {

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* lblBy;
    QLabel* lblAuthor;
    QLabel* lblContact;
    QLabel* lblWeb;
    QPushButton* OKButton;

public slots:
    void OKButtonClick();
};

}  // namespace corvane::ui
