#include "settings/desk_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>
#include <functional>
#include <utility>

#include "common/private_files.h"
#include "platform/page_output.h"
#include "storage/secret_masking.h"

namespace settings {

namespace {

const QString kDatabaseKey = QStringLiteral("database");
constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
// A line quoted in a warning is cut after this many characters.
constexpr qsizetype kLongestQuote = 40;

struct Line {
    int number;        // counted from 1
    QByteArray bytes;  // without its line end
};

struct ContentLines {
    bool byteOrderMark = false;
    bool crlf = false;  // written on Windows
    QList<Line> lines;
};

ContentLines splitLines(QByteArrayView content) {
    ContentLines split;
    if (content.startsWith(kByteOrderMark)) {
        split.byteOrderMark = true;
        content = content.sliced(kByteOrderMark.size());
    }
    // The file's own line ends, as its first line shows them; a CR of any other kind is part of
    // its line, so that saving twice gives the same file.
    const qsizetype firstEnd = content.indexOf('\n');
    split.crlf = firstEnd > 0 && content[firstEnd - 1] == '\r';
    int number = 0;
    while (!content.isEmpty()) {
        const qsizetype end = content.indexOf('\n');
        QByteArrayView line = end < 0 ? content : content.first(end);
        content = end < 0 ? QByteArrayView() : content.sliced(end + 1);
        if (split.crlf && end >= 0 && line.endsWith('\r')) {
            line.chop(1);
        }
        split.lines.push_back({++number, line.toByteArray()});
    }
    return split;
}

// The line as text; nothing when it is not UTF-8.
std::optional<QString> decoded(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

bool isNote(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(u'#');
}

// key=value with the spaces around both removed; nothing for a line without a key and "=".
std::optional<printing::SettingEntry> entryOf(const QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0 || text.first(equals).trimmed().isEmpty()) {
        return std::nullopt;
    }
    return printing::SettingEntry{text.first(equals).trimmed(), text.sliced(equals + 1).trimmed()};
}

// The line as a warning may show it: a database address with its password hidden, an unknown
// key (a misspelt database= or password=, perhaps) without its value.
QString shownLine(const QString& text) {
    const std::optional<printing::SettingEntry> entry = entryOf(text);
    if (!entry) {
        return storage::maskSecrets(text).text;
    }
    if (entry->key == kDatabaseKey) {
        return entry->key + u'=' + storage::maskSecrets(entry->value).text;
    }
    if (isBackupSettingKey(entry->key) || printing::isPrintSettingKey(entry->key) ||
        isCashSettingKey(entry->key)) {
        return text;
    }
    return entry->key + QStringLiteral("=…");
}

QString quoted(const QString& text) {
    const QString shown = shownLine(text).trimmed();
    return shown.size() <= kLongestQuote ? shown : shown.first(kLongestQuote) + u'…';
}

class WarningList {
public:
    void add(int lineNumber, const QString& text) { m_warnings.push_back({lineNumber, text}); }
    QStringList inLineOrder() {
        std::stable_sort(m_warnings.begin(), m_warnings.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList texts;
        for (const auto& warning : m_warnings) {
            texts << warning.second;
        }
        return texts;
    }

private:
    QList<std::pair<int, QString>> m_warnings;
};

}  // namespace

DeskConfig parseDeskConfig(QByteArrayView content) {
    DeskConfig config;
    WarningList warnings;
    // The line that set each key so far, so that it can be named once a later one replaces it.
    QHash<QString, Line> setBy;
    for (const Line& line : splitLines(content).lines) {
        const std::optional<QString> text = decoded(line.bytes);
        if (!text) {
            warnings.add(line.number, QStringLiteral("第%1行不是 UTF-8 文字，已忽略。请用 UTF-8 "
                                                     "编码保存设置文件。")
                                          .arg(line.number));
            continue;
        }
        if (isNote(*text)) {
            continue;
        }
        const QString ignored =
            QStringLiteral("第%1行“%2”已忽略：").arg(QString::number(line.number), quoted(*text));
        const std::optional<printing::SettingEntry> entry = entryOf(*text);
        QString problem;
        if (!entry) {
            warnings.add(line.number, ignored + QStringLiteral("不是“名称=值”的形式。"));
            continue;
        }
        if (entry->key == kDatabaseKey) {
            config.database = entry->value;
        } else if (isBackupSettingKey(entry->key)) {
            if (!applyBackupSetting(config.backup, *entry, &problem)) {
                warnings.add(line.number, ignored + problem);
                continue;
            }
        } else if (isCashSettingKey(entry->key)) {
            if (!applyCashSetting(config.cash, *entry, &problem)) {
                warnings.add(line.number, ignored + problem);
                continue;
            }
        } else if (!printing::isPrintSettingKey(entry->key)) {
            warnings.add(line.number, ignored + QStringLiteral("没有这项设置。"));
            continue;
        } else if (!printing::applyPrintSetting(config.printing, *entry, &problem)) {
            warnings.add(line.number, ignored + problem);
            continue;
        }
        if (const auto earlier = setBy.constFind(entry->key); earlier != setBy.cend()) {
            warnings.add(earlier->number,
                         QStringLiteral("第%1行“%2”已忽略：第%3行又设了一次。")
                             .arg(QString::number(earlier->number),
                                  quoted(*decoded(earlier->bytes)), QString::number(line.number)));
        }
        setBy.insert(entry->key, line);
    }
    config.warnings = warnings.inLineOrder();
    return config;
}

namespace {

// The content with entries written over the lines of the keys they own, the rest as it was.
QByteArray withEntries(QByteArrayView content, const QList<printing::SettingEntry>& entries,
                       const std::function<bool(QStringView key)>& owns) {
    const ContentLines split = splitLines(content);
    QHash<QString, QByteArray> pending;
    QStringList order;
    for (const printing::SettingEntry& entry : entries) {
        pending.insert(entry.key, (entry.key + u'=' + entry.value).toUtf8());
        order << entry.key;
    }

    QByteArrayList written;
    for (const Line& line : split.lines) {
        const std::optional<QString> text = decoded(line.bytes);
        const auto entry = text ? entryOf(*text) : std::nullopt;
        if (!entry || !owns(entry->key)) {
            written << line.bytes;
        } else if (pending.contains(entry->key)) {
            written << pending.take(entry->key);
        }
    }
    for (const QString& key : order) {
        if (pending.contains(key)) {
            written << pending.take(key);
        }
    }

    const QByteArray lineEnd = split.crlf ? "\r\n" : "\n";
    QByteArray result = split.byteOrderMark ? kByteOrderMark.toByteArray() : QByteArray();
    for (const QByteArray& line : written) {
        result += line + lineEnd;
    }
    return result;
}

// Writes entries into the file at path, keeping whatever else it holds; what names the
// settings in the messages (打印设置).
bool writeEntries(const QString& path, const QList<printing::SettingEntry>& entries,
                  const std::function<bool(QStringView key)>& owns, const QString& what,
                  QString* error) {
    QFile existing(path);
    QByteArray content;
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            // Writing without its other lines would lose them.
            *error = QStringLiteral("设置文件“%1”无法读取，%2没有保存：%3")
                         .arg(QDir::toNativeSeparators(path), what, existing.errorString());
            return false;
        }
        content = existing.readAll();
    }
    if (!common::makePrivateFolder(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("设置文件夹“%1”无法建立，%2没有保存。")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), what);
        return false;
    }
    QString problem;
    if (!platform::writeWholeFile(path, withEntries(content, entries, owns), &problem)) {
        *error = what + QStringLiteral("没有保存。") + problem;
        return false;
    }
    return true;
}

}  // namespace

QByteArray withPrintSettings(QByteArrayView content, const printing::PrintSettings& settings) {
    return withEntries(content, printing::printSettingEntries(settings),
                       printing::isPrintSettingKey);
}

QString deskConfigPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral(PRODUCT_NAME ".conf"));
}

DeskConfig readDeskConfig(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        DeskConfig config;
        config.warnings
            << QStringLiteral("设置文件无法读取，全部设置都没有用上：%1").arg(file.errorString());
        return config;
    }
    return parseDeskConfig(file.readAll());
}

bool writePrintSettings(const QString& path, const printing::PrintSettings& settings,
                        QString* error) {
    return writeEntries(path, printing::printSettingEntries(settings), printing::isPrintSettingKey,
                        QStringLiteral("打印设置"), error);
}

bool writeCashSettings(const QString& path, const CashSettings& settings, QString* error) {
    return writeEntries(path, cashSettingEntries(settings), isCashSettingKey,
                        QStringLiteral("收款设置"), error);
}

}  // namespace settings
