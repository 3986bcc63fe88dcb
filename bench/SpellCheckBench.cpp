// Spell-check figures for a 4,000-character comment, each beside a baseline measured in the same run:
//   checking every word through Speller (cache cleared)  vs Hunspell alone on the same words
//   the same with 1,000,000 extra words accepted           vs the same Hunspell alone
//   one keystroke in a field that underlines (layout too)  vs one keystroke in a field without spell check
//   accepting 1,000,000 words (names a screen knows)       (a load time; no baseline of its own)
#include "BenchMain.h"
#include "platform/RichTextControl.h"
#include "platform/Speller.h"

#include <benchmark/benchmark.h>
#include <hunspell.hxx>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

using talv::Speller;

// A field comment: ordinary English with field-note words, a few misspellings and Latin names.
QString comment()
{
    static const QStringList words =
        QStringLiteral("The population occupies dry calcareous grassland on south facing slopes "
                       "where Quercus robur and Fraxinus excelsior form scattered groves with a "
                       "recieve dense understorey of hazel and hawthorn grazing pressure remains "
                       "moderate although scrub encroachmnt threatens the open habitat in several "
                       "plots surveyed during the last three seasons")
            .split(u' ');
    QString text;
    for (qsizetype i = 0; text.size() < 4000; ++i)
        text += words.at(i % words.size()) + u' ';
    text.truncate(4000);
    return text;
}

std::vector<std::string> wordsOfComment()
{
    const QString text = comment();
    std::vector<std::string> words;
    for (const talv::WordSpan &span : talv::wordsOf(text))
        words.push_back(text.mid(span.start, span.length).toStdString());
    return words;
}

// Names of the kind a large database holds ("Taxonbqkfz"): a million distinct words.
QStringList millionNames()
{
    QStringList names;
    names.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        QString name = QStringLiteral("Taxon");
        for (int rest = i, letter = 0; letter < 5; ++letter, rest /= 26)
            name += QChar(u'a' + rest % 26);
        names.append(name);
    }
    return names;
}

struct Dictionary {
    QString aff = QStringLiteral("/usr/share/hunspell/en_US.aff");
    QString dic = QStringLiteral("/usr/share/hunspell/en_US.dic");
};

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<Speller> makeSpeller(bool withMillion)
{
    auto speller =
        std::make_unique<Speller>(Speller::systemDictionaryFolders(), scratch().filePath(QStringLiteral("words.txt")));
    if (withMillion)
        speller->acceptWords(millionNames());
    return speller;
}

void hunspellAlone(benchmark::State &state, bool withMillion)
{
    const Dictionary d;
    Hunspell hunspell(d.aff.toLocal8Bit().constData(), d.dic.toLocal8Bit().constData());
    if (withMillion) {
        for (const QString &name : millionNames())
            hunspell.add(name.toStdString());
    }
    const std::vector<std::string> words = wordsOfComment();
    for (auto _ : state) {
        int wrong = 0;
        for (const std::string &word : words)
            wrong += hunspell.spell(word) ? 0 : 1;
        benchmark::DoNotOptimize(wrong);
    }
    state.counters["words"] = double(words.size());
}

void spellerCold(benchmark::State &state, bool withMillion)
{
    const std::unique_ptr<Speller> speller = makeSpeller(withMillion);
    const QString text = comment();
    for (auto _ : state) {
        speller->acceptWords({}); // forgets the answers it kept
        int wrong = 0;
        for (const talv::WordSpan &span : talv::wordsOf(text))
            wrong += speller->isCorrect(text.mid(span.start, span.length)) ? 0 : 1;
        benchmark::DoNotOptimize(wrong);
    }
}

void BM_HunspellAlone(benchmark::State &state)
{
    hunspellAlone(state, false);
}
void BM_SpellerCheck(benchmark::State &state)
{
    spellerCold(state, false);
}
void BM_HunspellAlone_1MWords(benchmark::State &state)
{
    hunspellAlone(state, true);
}
void BM_SpellerCheck_1MWords(benchmark::State &state)
{
    spellerCold(state, true);
}

// A keystroke at the end of the comment (typed, then taken back) in a field shown on screen.
void keystroke(benchmark::State &state, std::shared_ptr<Speller> speller)
{
    talv::RichTextControl field;
    field.SetSpeller(std::move(speller));
    field.resize(600, 300);
    field.show();
    field.SetText(comment());
    field.moveCursor(QTextCursor::End);
    for (auto _ : state) {
        field.textCursor().insertText(QStringLiteral("x"));
        field.textCursor().deletePreviousChar();
        QCoreApplication::processEvents();
    }
}

void BM_KeystrokeWithoutSpellCheck(benchmark::State &state)
{
    keystroke(state, std::make_shared<Speller>(QStringList{scratch().path()}, QString()));
}

void BM_KeystrokeUnderlining(benchmark::State &state)
{
    keystroke(state, makeSpeller(false));
}

void BM_AcceptMillionWords(benchmark::State &state)
{
    const QStringList names = millionNames();
    for (auto _ : state) {
        Speller speller(Speller::systemDictionaryFolders(), scratch().filePath(QStringLiteral("words.txt")));
        speller.acceptWords(names);
    }
}

void suggest(benchmark::State &state, bool withMillion)
{
    const std::unique_ptr<Speller> speller = makeSpeller(withMillion);
    for (auto _ : state)
        benchmark::DoNotOptimize(speller->suggestions(QStringLiteral("Qercus")));
}

void BM_Suggest(benchmark::State &state)
{
    suggest(state, false);
}
void BM_Suggest_1MWords(benchmark::State &state)
{
    suggest(state, true);
}

// The other way Hunspell takes extra words: a .dic file of its own, with a table sized for it.
void BM_AcceptMillionWordsAsDic(benchmark::State &state)
{
    const QStringList names = millionNames();
    const Dictionary d;
    for (auto _ : state) {
        Hunspell hunspell(d.aff.toLocal8Bit().constData(), d.dic.toLocal8Bit().constData());
        QFile file(scratch().filePath(QStringLiteral("names.dic")));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::number(names.size()) + '\n' + names.join(u'\n').toUtf8() + '\n');
        file.close();
        hunspell.add_dic(QFile::encodeName(file.fileName()).constData());
        benchmark::DoNotOptimize(hunspell.spell(std::string("Taxonbqkfz")));
    }
}

BENCHMARK(BM_HunspellAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpellerCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HunspellAlone_1MWords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpellerCheck_1MWords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeWithoutSpellCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeUnderlining)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Suggest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_1MWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcceptMillionWords)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AcceptMillionWordsAsDic)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return talv::bench::runBenchmarks<QApplication>(argc, argv);
}
