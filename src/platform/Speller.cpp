#include "Speller.h"

#include "Error.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBoundaryFinder>

namespace talv {

namespace {

bool isWordSegment(QStringView segment)
{
    bool hasLetter = false;
    for (const QChar c : segment) {
        if (c.isDigit())
            return false;
        hasLetter = hasLetter || c.isLetter();
    }
    return hasLetter;
}

// The .aff file of the preferred English dictionary in `folder` that has its .dic beside it.
QString englishDictionaryIn(const QString &folder)
{
    const QDir dir(folder);
    QStringList names = dir.entryList({QStringLiteral("en_*.aff")}, QDir::Files, QDir::Name);
    for (const QString &preferred : {QStringLiteral("en_GB.aff"), QStringLiteral("en_US.aff")}) {
        if (names.removeOne(preferred))
            names.prepend(preferred);
    }
    for (const QString &name : std::as_const(names)) {
        const QString aff = dir.filePath(name);
        if (QFileInfo::exists(aff.chopped(4) + QStringLiteral(".dic")))
            return aff;
    }
    return {};
}

} // namespace

QList<WordSpan> wordsOf(QStringView text)
{
    QList<WordSpan> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), text.size());
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        if (isWordSegment(text.mid(start, end - start)))
            words.append({start, end - start});
        start = end;
    }
    return words;
}

std::optional<WordSpan> wordAt(QStringView text, qsizetype position)
{
    for (const WordSpan &span : wordsOf(text)) {
        if (position >= span.start && position <= span.start + span.length)
            return span;
    }
    return std::nullopt;
}

Speller::Speller(const QStringList &dictionaryFolders, const QString &personalWordsFile, QObject *parent)
    : QObject(parent), m_personalWordsFile(personalWordsFile)
{
    load(dictionaryFolders);
}

Speller::~Speller() = default;

QStringList Speller::systemDictionaryFolders()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell"),
            QStringLiteral("/usr/share/myspell/dicts")};
}

QString Speller::defaultPersonalWordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/personal-dictionary.txt");
}

std::shared_ptr<Speller> Speller::shared()
{
    static const std::shared_ptr<Speller> speller =
        std::make_shared<Speller>(systemDictionaryFolders(), defaultPersonalWordsFile());
    return speller;
}

void Speller::load(const QStringList &dictionaryFolders)
{
    QString aff;
    for (const QString &folder : dictionaryFolders) {
        aff = englishDictionaryIn(folder);
        if (!aff.isEmpty())
            break;
    }
    if (aff.isEmpty()) {
        m_unavailableReason = QStringLiteral("no English dictionary was found in %1.")
                                  .arg(dictionaryFolders.isEmpty() ? QStringLiteral("any folder")
                                                                   : dictionaryFolders.join(QStringLiteral(", ")));
        return;
    }
    const QString dic = aff.chopped(4) + QStringLiteral(".dic");
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    m_dictionaryName = QFileInfo(aff).completeBaseName();
    const QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper();
    // Dictionaries come in UTF-8 or ISO 8859-1; other 8-bit ones are rare enough to read as the latter.
    m_utf8 = encoding == QLatin1String("UTF-8") || encoding == QLatin1String("UTF8");

    QFile personal(m_personalWordsFile);
    if (personal.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList words = QString::fromUtf8(personal.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &word : words)
            addToHunspell(word.trimmed());
    }
}

std::string Speller::encode(const QString &word) const
{
    return m_utf8 ? word.toStdString() : std::string(word.toLatin1().constData());
}

QString Speller::decode(const std::string &word) const
{
    return m_utf8 ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool Speller::isCorrect(const QString &word) const
{
    if (!m_hunspell || word.isEmpty())
        return true;
    const auto known = m_checked.constFind(word);
    if (known != m_checked.cend())
        return *known;
    const bool correct = m_hunspell->spell(encode(word));
    m_checked.insert(word, correct);
    return correct;
}

QStringList Speller::suggestions(const QString &word) const
{
    QStringList result;
    if (!m_hunspell || word.isEmpty())
        return result;
    for (const std::string &suggestion : m_hunspell->suggest(encode(word)))
        result.append(decode(suggestion));
    return result;
}

std::optional<WordSpan> Speller::nextMisspelt(QStringView text, qsizetype from, const QSet<QString> &ignored) const
{
    if (!m_hunspell)
        return std::nullopt;
    for (const WordSpan &span : wordsOf(text)) {
        if (span.start < from)
            continue;
        const QString word = text.mid(span.start, span.length).toString();
        if (!ignored.contains(word) && !isCorrect(word))
            return span;
    }
    return std::nullopt;
}

void Speller::addToHunspell(const QString &word)
{
    if (!m_hunspell || word.isEmpty())
        return;
    m_hunspell->add(encode(word));
}

void Speller::addToPersonalDictionary(const QString &word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || !m_hunspell)
        return;
    addToHunspell(trimmed);
    m_checked.clear();
    emit wordsAccepted();

    QDir().mkpath(QFileInfo(m_personalWordsFile).absolutePath());
    QFile personal(m_personalWordsFile);
    if (!personal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text) ||
        personal.write((trimmed + QLatin1Char('\n')).toUtf8()) < 0)
        throw Error(Error::Generic, QStringLiteral("The word \"%1\" could not be saved in %2: %3")
                                        .arg(trimmed, m_personalWordsFile, personal.errorString()));
}

void Speller::acceptWords(const QStringList &words)
{
    if (!m_hunspell)
        return;
    for (const QString &word : words)
        addToHunspell(word.trimmed());
    m_checked.clear();
    emit wordsAccepted();
}

} // namespace talv
