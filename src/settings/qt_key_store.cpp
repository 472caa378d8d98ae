#include "settings/qt_key_store.h"

#include <utility>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

namespace corvane {

namespace {

QString FileName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

#ifdef _WIN32
// The registry key itself. Built from the organisation alone, QSettings would
// use the subkey "OrganizationDefaults" below it instead.
QString RegistryKey()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Corvane");
}

bool RegistryKeyExists()
{
    const QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
    return software.childGroups().contains(QStringLiteral("Corvane"), Qt::CaseInsensitive);
}
#endif

// A path is 8-bit text held byte for byte. In an INI file, text that is valid
// UTF-8 goes in as a string and anything else as a byte array (QSettings writes
// that as an escaped "@ByteArray(...)"), so every byte comes back unchanged.
// The registry holds the text in the system code page.
QVariant ToStored(const std::string& text, bool registry)
{
    const QByteArray bytes = QByteArray::fromStdString(text);
    if (registry)
        return QString::fromLocal8Bit(bytes);
    const QString unicode = QString::fromUtf8(bytes);
    if (unicode.toUtf8() == bytes)
        return unicode;
    return bytes;
}

StoredValue FromStored(const QVariant& value, bool registry)
{
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString unicode = value.toString();
        return {ValueKind::String, (registry ? unicode.toLocal8Bit() : unicode.toUtf8()).toStdString()};
    }
    case QMetaType::QByteArray:
        return {ValueKind::String, value.toByteArray().toStdString()};
    default:
        // A list (an unquoted comma in the file), a number or any other
        // variant written by something else.
        return {ValueKind::OtherType, {}};
    }
}

// Whether the last sync reached permanent storage. A format error belongs to
// reading: QSettings still writes the file, whole and well-formed, without the
// lines it could not parse.
bool Written(const QSettings& settings)
{
    return settings.status() != QSettings::AccessError;
}

}  // namespace

QtKeyStore::QtKeyStore() : QtKeyStore(DefaultSettingsFile()) {}

QtKeyStore::QtKeyStore(std::string iniFile) : file_(std::move(iniFile)) {}

QtKeyStore::~QtKeyStore() = default;

bool QtKeyStore::OpenKey()
{
    settings_.reset();
#ifdef _WIN32
    if (file_.empty()) {
        if (!RegistryKeyExists())
            return false;
        settings_ = std::make_unique<QSettings>(RegistryKey(), QSettings::NativeFormat);
        return true;
    }
#endif
    const QString name = FileName(file_);
    if (file_.empty() || !QFileInfo::exists(name))
        return false;
    // A file that exists but cannot be read or parsed still counts as the key;
    // its values then read as unreadable (see QueryValue). So does anything
    // else in the file's place, which is not even opened: a pipe would block
    // the reading, a device never end it.
    if (QFileInfo(name).isFile())
        settings_ = std::make_unique<QSettings>(name, QSettings::IniFormat);
    return true;
}

bool QtKeyStore::CreateKey()
{
    settings_.reset();
#ifdef _WIN32
    if (file_.empty()) {
        auto registry = std::make_unique<QSettings>(RegistryKey(), QSettings::NativeFormat);
        if (!registry->isWritable() || registry->status() != QSettings::NoError)
            return false;
        settings_ = std::move(registry);
        return true;
    }
#endif
    if (file_.empty())
        return false;
    const QString name = FileName(file_);
    const QFileInfo info(name);
    if (info.exists() && !info.isFile())
        return false;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    // Creating the (empty) file is what brings the key into being; a file that
    // cannot be opened for writing is a key that cannot be opened for full access.
    QFile probe(name);
    if (!probe.open(QIODevice::ReadWrite))
        return false;
    probe.close();

    auto ini = std::make_unique<QSettings>(name, QSettings::IniFormat);
    if (ini->status() == QSettings::AccessError)
        return false;
    settings_ = std::move(ini);
    return true;
}

StoredValue QtKeyStore::QueryValue(const std::string& name)
{
    // QSettings reports a file it cannot read (AccessError) or parse (FormatError)
    // once, when it first reads it; the values of such a file are not trusted.
    if (!settings_ || settings_->status() != QSettings::NoError)
        return {ValueKind::Unreadable, {}};
    const QString key = QString::fromStdString(name);
    if (!settings_->contains(key))
        return {ValueKind::Missing, {}};
    return FromStored(settings_->value(key), file_.empty());
}

bool QtKeyStore::SetValue(const std::string& name, const std::string& text)
{
    if (!settings_)
        return false;
    settings_->setValue(QString::fromStdString(name), ToStored(text, file_.empty()));
    settings_->sync();
    return Written(*settings_);
}

bool QtKeyStore::FlushKey()
{
    if (!settings_)
        return false;
    settings_->sync();
    const bool flushed = Written(*settings_);
    settings_.reset();
    return flushed;
}

std::string DefaultSettingsFile()
{
#ifdef _WIN32
    return {};
#else
    // Asked on every call, so a change of XDG_CONFIG_HOME is seen at once.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QFile::encodeName(folder + QStringLiteral("/Corvane.conf")).toStdString();
#endif
}

}  // namespace corvane
