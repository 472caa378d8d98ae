#include "ui/browser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QByteArray>
#include <QDir>
#include <QStorageInfo>
#include <QStyle>

#include "platform/error.h"
#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "ui/fonts.h"
#include "ui/text.h"

namespace corvane::ui {

namespace fs = std::filesystem;

namespace {

constexpr int kFileNameRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;

bool HasPrefixFolder(const std::string& path, const std::string& folder)
{
    if (folder == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, folder.size(), folder) == 0
           && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The components of a full path, each as a full path: "/", "/home", "/home/a".
std::vector<std::string> Ancestors(const std::string& path)
{
    std::vector<std::string> chain{"/"};
    std::size_t pos = 1;
    while (pos < path.size()) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        if (next > pos)
            chain.push_back(path.substr(0, next));
        pos = next + 1;
    }
    return chain;
}

// The name a folder is listed under; the root lists as itself.
std::string ListedName(const std::string& path)
{
    return path == "/" ? path : std::string(FileName(path));
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& folder, bool directories)
{
    const EntryType wanted = directories ? EntryType::Directory : EntryType::File;
    std::vector<std::string> names;
    for (const DirEntry& entry : ListDirectory(folder).entries) {
        if (entry.type == wanted)
            names.push_back(entry.name);
    }
    return names;
}

DriveBox::DriveBox(QWidget* parent) : QComboBox(parent)
{
    std::vector<std::string> places{"/"};
    const std::string home = Bytes(QDir::homePath());
    if (!home.empty() && home != "/")
        places.push_back(home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const std::string root = Bytes(volume.rootPath());
        // Containers mount single files too; only folders are places to start from.
        if (!DirectoryExists(root))
            continue;
        if (std::find(places.begin(), places.end(), root) == places.end())
            places.push_back(root);
    }
    std::sort(places.begin() + 1, places.end());
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const std::string& place : places)
        addItem(icon, Q(place), QByteArray::fromStdString(place));
    connect(this, &QComboBox::activated, this, [this](int index) {
        emit driveChosen(itemData(index).toByteArray().toStdString());
    });
}

std::string DriveBox::drive() const
{
    return currentData().toByteArray().toStdString();
}

void DriveBox::followDirectory(const std::string& path)
{
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < count(); ++i) {
        const std::string place = itemData(i).toByteArray().toStdString();
        if (HasPrefixFolder(path, place) && (best < 0 || place.size() > bestLength)) {
            best = i;
            bestLength = place.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

bool DriveBox::selectDrive(char drive)
{
    if (drive != Separator())
        return false;
    setCurrentIndex(0);
    return true;
}

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent)
{
    // Starts in the current folder; at the root when that has gone.
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    directory_ = (ec || here.empty()) ? std::string(1, '/') : here.string();
    fill();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        try {
            setDirectory(item->data(kPathRole).toByteArray().toStdString());
        } catch (const Error&) {
            fill();  // the folder has gone meanwhile; show what is there now
        }
    });
}

void DirectoryList::setDirectory(const std::string& path)
{
    if (path.empty())
        return;
    if (!DirectoryExists(path))
        throw Error("Directory not found: " + path);
    std::error_code ec;
    std::string full = fs::absolute(path, ec).lexically_normal().string();
    if (ec)
        full = path;
    if (full.size() > 1 && full.back() == '/')
        full.pop_back();
    if (full == directory_)
        return;
    directory_ = full;
    fill();
    emit directoryChanged(directory_);
}

void DirectoryList::fill()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const std::vector<std::string> chain = Ancestors(directory_);
    int depth = 0;
    for (const std::string& folder : chain) {
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + Q(ListedName(folder)), this);
        item->setData(kPathRole, QByteArray::fromStdString(folder));
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const std::string& name : ListFolder(directory_, true)) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + Q(name), this);
        item->setData(kPathRole, QByteArray::fromStdString(JoinPath(directory_, name)));
    }
}

FileList::FileList(QWidget* parent) : QListWidget(parent)
{
    setFont(FixedPitchFont());
}

void FileList::setMask(const std::string& mask)
{
    mask_ = mask;
    patterns_.clear();
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(';', start);
        if (end == std::string::npos)
            end = mask.size();
        if (end > start)
            patterns_.push_back(mask.substr(start, end - start));
        start = end + 1;
    }
    refresh();
}

void FileList::setDirectory(const std::string& path)
{
    directory_ = path;
    refresh();
}

bool FileList::matches(const std::string& name) const
{
    return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string& pattern) {
        // "*.*" means every file, also one without an extension.
        return pattern == "*.*" || MatchesPattern(name, pattern);
    });
}

void FileList::refresh()
{
    clear();
    if (!directory_.empty()) {
        for (const std::string& name : ListFolder(directory_, false)) {
            if (!matches(name))
                continue;
            auto* item = new QListWidgetItem(Q(name), this);
            item->setData(kFileNameRole, QByteArray::fromStdString(name));
        }
    }
    emit refilled();
}

std::string FileList::EntryFileName(const QListWidgetItem& item)
{
    return item.data(kFileNameRole).toByteArray().toStdString();
}

std::vector<std::string> FileList::fileNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < count(); ++i)
        names.push_back(EntryFileName(*item(i)));
    return names;
}

}  // namespace corvane::ui
