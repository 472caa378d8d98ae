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

public slots:
    void okButtonClick();

private:
    QFrame* panel_;
    QLabel* programIcon_;
    QLabel* productName_;
    QLabel* version_;
    QLabel* lblBy_;
    QLabel* lblAuthor_;
    QLabel* lblContact_;
    QLabel* lblWeb_;
    QPushButton* okButton_;
};

}  // namespace corvane::ui
