#pragma once
// The file browser: a drive box bound to a directory list bound to a file list.
// On Linux the "drives" are the places a user starts from: the root, the home
// folder and the mounted volumes. Choosing one moves the directory list there;
// every change of directory refills the file list.

#include <string>
#include <vector>

#include <QComboBox>
#include <QListWidget>

namespace corvane::ui {

class DriveBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveBox(QWidget* parent = nullptr);

    // The path of the place currently shown.
    std::string drive() const;
    // Shows the place that holds the path: the one with the longest matching prefix.
    void followDirectory(const std::string& path);
    // Selects the place named by a drive character (the first character of a
    // path). Only the root is named that way here; other characters name no
    // place and leave the box as it is. True when a place was selected.
    bool selectDrive(char drive);

signals:
    // The user chose a place.
    void driveChosen(const std::string& path);
};

class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget* parent = nullptr);

    const std::string& directory() const { return directory_; }
    // Moves the list to a directory. Throws Error when it is not an existing
    // directory; an empty text does nothing. Signals only a real change.
    void setDirectory(const std::string& path);

signals:
    void directoryChanged(const std::string& path);

private:
    void fill();
    std::string directory_;
};

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Patterns separated by ";", such as "*.map;*.wal". "*.*" lists every file.
    void setMask(const std::string& mask);
    const std::string& mask() const { return mask_; }
    void setDirectory(const std::string& path);
    const std::string& directory() const { return directory_; }
    // Lists the directory again.
    void refresh();

    // The file's own name behind an entry (its text may carry more columns).
    static std::string EntryFileName(const QListWidgetItem& item);
    // The names listed, in order.
    std::vector<std::string> fileNames() const;

signals:
    // The list has been filled again.
    void refilled();

private:
    bool matches(const std::string& name) const;
    std::string directory_;
    std::string mask_;
    std::vector<std::string> patterns_;
};

// The plain files (and links to them) or the directories of a folder, in
// ascending byte order. A folder that cannot be read lists nothing.
std::vector<std::string> ListFolder(const std::string& folder, bool directories);

}  // namespace corvane::ui
