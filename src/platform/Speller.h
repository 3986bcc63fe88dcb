#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <optional>

class Hunspell;

namespace talv {

// A word's place in a text.
struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const WordSpan &, const WordSpan &) = default;
};

// The words of `text` a spelling check looks at: runs of letters, with inner apostrophes
// ("don't"); words with digits in them ("H2O", "1st") are left alone.
QList<WordSpan> wordsOf(QStringView text);
// The word of `text` that `position` is in or at either end of.
std::optional<WordSpan> wordAt(QStringView text, qsizetype position);

// Spell check on Hunspell with an English dictionary of the system, the user's own words and
// words accepted for the session. Without a dictionary it is unavailable and accepts every word,
// so the fields that use it go on working.
class Speller : public QObject
{
    Q_OBJECT

public:
    // Uses the first English dictionary (.aff with its .dic) in `dictionaryFolders`, en_US first,
    // then en_GB, then any other en_*; the user's words live in `personalWordsFile`, one a line,
    // the file made when the first word is added.
    Speller(const QStringList &dictionaryFolders, const QString &personalWordsFile, QObject *parent = nullptr);
    ~Speller() override;

    static QStringList systemDictionaryFolders();
    // In the user's data folder.
    static QString defaultPersonalWordsFile();
    // The speller the fields share, made on first use, so a word added in one field is accepted in
    // all of them and the dictionary is read once.
    static std::shared_ptr<Speller> shared();

    bool isAvailable() const { return m_hunspell != nullptr; }
    // Why it is unavailable, as a sentence for the user (empty when it is available).
    const QString &unavailableReason() const { return m_unavailableReason; }
    // The dictionary in use, "en_US" say.
    const QString &dictionaryName() const { return m_dictionaryName; }

    bool isCorrect(const QString &word) const;
    // Best first; none when unavailable.
    QStringList suggestions(const QString &word) const;
    // The first word of `text` at or after `from` that is misspelt and not in `ignored`.
    std::optional<WordSpan> nextMisspelt(QStringView text, qsizetype from, const QSet<QString> &ignored = {}) const;

    // Accepts `word` from now on, here and in later sessions (it goes into the personal file).
    // Raises talv::Error when the file cannot be written; the word is then accepted for this
    // session only.
    void addToPersonalDictionary(const QString &word);
    // Accepts `words` for this session only (names a screen knows, say); nothing is written.
    void acceptWords(const QStringList &words);
    const QString &personalWordsFile() const { return m_personalWordsFile; }

signals:
    // Words were accepted: what was underlined may no longer be wrong.
    void wordsAccepted();

private:
    void load(const QStringList &dictionaryFolders);
    void addToHunspell(const QString &word);
    std::string encode(const QString &word) const;
    QString decode(const std::string &word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    QString m_dictionaryName;
    QString m_unavailableReason;
    QString m_personalWordsFile;
    bool m_utf8 = true;
    mutable QHash<QString, bool> m_checked; // the answers so far: most words recur as one types
};

} // namespace talv
