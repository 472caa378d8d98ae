#pragma once
// "Build Archive": packs the game folder of a transfer (or of a preview) into
// one archive for a release, as corvane-cli pack does: the format (pak, pk3 or
// pkz), where the archive goes (by default where corvane-cli pack puts it),
// whether the level sources go in too; then a progress bar while a worker
// thread packs, and the archive's size, or what went wrong, at the end. An
// archive that exists is replaced only when the user says so.

#include <atomic>
#include <string>

#include <QDialog>

#include "archive/pack.h"
#include "transfer/host.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace corvane::ui {

class TfrmArchive : public QDialog {
    Q_OBJECT
public:
    TfrmArchive(Host& host, QWidget* parent = nullptr);

    // Shows the dialog modally for the game folder `folder`.
    void BuildFor(const std::string& folder);
    bool packing() const { return packing_; }

signals:
    // An archive was written.
    void built(const std::string& archive);

public slots:
    void btnBuildClick();
    void btnCloseClick();
    void btnBrowseArchiveClick();

protected:
    void reject() override;

private:
    ArchiveFormat format() const;
    // A new format moves the archive's default path along with it.
    void formatChanged();
    void showProgress(std::size_t done, std::size_t total);
    void showResult(const std::string& archive, const PackResult& result);
    // Fields locked while the worker packs; Close becomes Cancel.
    void lock(bool packing);

    Host& host_;
    std::string folder_;
    std::string defaultArchive_;  // the default path the field showed last
    bool packing_ = false;
    std::atomic<bool> cancel_{false};

    QLabel* lblArchiveFolder_;
    QRadioButton* optionPak_;
    QRadioButton* optionPk3_;
    QRadioButton* optionPkz_;
    QLineEdit* editArchive_;
    QPushButton* btnBrowseArchive_;
    QCheckBox* chbxWithSources_;
    QProgressBar* barArchive_;
    QLabel* lblArchiveResult_;
    QPlainTextEdit* memoArchive_;
    QPushButton* btnBuild_;
    QPushButton* btnClose_;
};

}  // namespace corvane::ui
