#include "source/textsource.h"

#include "data/controletest.h"
#include "data/format.h"
#include "data/reglesfichiers.h"
#include "platform/temporaryname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <map>

namespace kelvane::source {

namespace {

constexpr int kMaxInteger = 32767; // the test file's integers are 16-bit
constexpr int kQuestionFixedColumns = 7;

class Parser {
public:
    Parser(QString fileName, QString folder) : fileName_(std::move(fileName)), folder_(std::move(folder)) {}

    ParseResult run(const QByteArray& data);

private:
    void error(int line, const QString& text) {
        result_.errors << QStringLiteral("%1, ligne %2 : %3").arg(fileName_, QString::number(line), text);
    }
    void fileError(const QString& text) { result_.errors << QStringLiteral("%1 : %2").arg(fileName_, text); }

    // Reads a whole number in lo..hi; reports the fault and returns false otherwise.
    bool number(int line, const QString& what, const QString& text, int lo, int hi, int& out) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok) {
            error(line, QStringLiteral("%1 : « %2 » n'est pas un nombre entier").arg(what, text));
            return false;
        }
        if (value < lo || value > hi) {
            error(line, QStringLiteral("%1 : %2 hors des limites (%3 à %4)").arg(what).arg(value).arg(lo).arg(hi));
            return false;
        }
        out = value;
        return true;
    }

    bool text(int line, const QString& what, const QString& value, int size) {
        if (value.isEmpty()) {
            error(line, QStringLiteral("%1 vide").arg(what));
            return false;
        }
        if (value.size() > size) {
            error(line, QStringLiteral("%1 : %2 caractères, %3 au plus").arg(what).arg(value.size()).arg(size));
            return false;
        }
        return true;
    }

    void header(int line, const QStringList& fields, const QString& what, int lo, int hi, int& value, int& seenAt);
    void chapter(int line, const QStringList& fields);
    void question(int line, const QStringList& fields);
    void picture(int line, const QStringList& fields);
    void finish();
    void checkPictures();
    // Reads the picture's file; reports why it cannot be kept and returns false otherwise.
    bool load(SourcePicture& picture);

    QString fileName_;
    QString folder_; // where the pictures are read, none when empty
    ParseResult result_;
    QList<bool> quoted_; // of the current line's fields
    int tempsLine_ = 0;
    int toleranceLine_ = 0;
    int questionLines_ = 0; // every question line, even refused: numbers run 1..this
};

ParseResult Parser::run(const QByteArray& data) {
    const QList<QByteArray> lines = data.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        if (i == 0 && bytes.startsWith("\xEF\xBB\xBF")) {
            bytes.remove(0, 3);
        }

        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString content = decoder(bytes);
        if (decoder.hasError()) {
            error(line, QStringLiteral("texte non UTF-8 (enregistrez le fichier en UTF-8)"));
            continue;
        }
        const QString trimmed = content.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) {
            continue;
        }

        QStringList fields;
        if (!splitFields(content, fields, &quoted_)) {
            error(line, QStringLiteral("guillemet non refermé"));
            continue;
        }
        if (fields.isEmpty()) { // an empty row of a spreadsheet: only separators
            continue;
        }
        const QString kind = fields.value(0).toLower();
        if (kind == u"temps") {
            header(line, fields, QStringLiteral("temps"), 1, kMaxInteger, result_.source.temps, tempsLine_);
        } else if (kind == u"tolerance" || kind == u"tolérance") {
            header(line, fields, QStringLiteral("tolerance"), 0, 100, result_.source.tolerance, toleranceLine_);
        } else if (kind == u"chapitre") {
            chapter(line, fields);
        } else if (kind == u"question") {
            question(line, fields);
        } else if (kind == u"image") {
            picture(line, fields);
        } else {
            error(line, QStringLiteral("ligne « %1 » inconnue (temps, tolerance, chapitre, question ou image attendu)")
                            .arg(fields.value(0)));
        }
    }
    finish();
    return std::move(result_);
}

void Parser::header(int line, const QStringList& fields, const QString& what, int lo, int hi, int& value, int& seenAt) {
    if (fields.size() != 2) {
        error(
            line,
            QStringLiteral("nombre de colonnes incorrect : %1 au lieu de 2 (%2;valeur)").arg(fields.size()).arg(what));
        return;
    }
    if (seenAt != 0) {
        error(line, QStringLiteral("ligne « %1 » en double (déjà ligne %2)").arg(what).arg(seenAt));
        return;
    }
    seenAt = line; // given, even if wrong: not reported missing as well
    number(line, what, fields[1], lo, hi, value);
}

void Parser::chapter(int line, const QStringList& fields) {
    if (fields.size() != 3) {
        error(
            line,
            QStringLiteral("nombre de colonnes incorrect : %1 au lieu de 3 (chapitre;numéro;nom)").arg(fields.size()));
        return;
    }
    Chapter c;
    c.line = line;
    c.nom = fields[2];
    static const QRegularExpression comment(QStringLiteral("\\s#"));
    if (!quoted_.value(2) && c.nom.contains(comment)) {
        error(line, QStringLiteral("nom de chapitre : « %1 » contient un commentaire ; un commentaire se met sur une "
                                   "ligne à part commençant par #, un « # » du nom entre guillemets")
                        .arg(c.nom));
        return;
    }
    if (!number(line, QStringLiteral("numéro de chapitre"), fields[1], 1, kMaxInteger, c.numero) ||
        !text(line, QStringLiteral("nom de chapitre"), c.nom, data::TailleChapitre)) {
        return;
    }
    auto& chapters = result_.source.chapters;
    const auto same =
        std::find_if(chapters.begin(), chapters.end(), [&](const Chapter& other) { return other.numero == c.numero; });
    if (same != chapters.end()) {
        error(line, QStringLiteral("chapitre %1 déjà déclaré ligne %2").arg(c.numero).arg(same->line));
        return;
    }
    chapters.push_back(std::move(c));
}

void Parser::question(int line, const QStringList& fields) {
    ++questionLines_;
    const auto count = fields.size();
    if (count < kQuestionFixedColumns + 2 || (count - kQuestionFixedColumns) % 2 != 0) {
        if (count == kQuestionFixedColumns) {
            error(line, QStringLiteral("aucune réponse : le nombre de réponses (nbrereponse) doit aller de 1 à %1")
                            .arg(data::NbReponsesMax));
            return;
        }
        error(line, QStringLiteral("nombre de colonnes incorrect : %1 (question;numéro;chapitre;niveaux;genre;"
                                   "temps;texte puis une réponse et sa valeur par paire de colonnes)")
                        .arg(count));
        return;
    }
    const auto answerCount = (count - kQuestionFixedColumns) / 2;
    if (answerCount > data::NbReponsesMax) {
        error(line, QStringLiteral("%1 réponses : le nombre de réponses (nbrereponse) doit aller de 1 à %2")
                        .arg(answerCount)
                        .arg(data::NbReponsesMax));
        return;
    }

    SourceQuestion q;
    q.line = line;
    if (!number(line, QStringLiteral("numéro de question"), fields[1], 1, kMaxInteger, q.numero) ||
        !number(line, QStringLiteral("chapitre"), fields[2], 1, kMaxInteger, q.chapitre)) {
        return;
    }

    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    const QStringList levels = fields[3].split(separators, Qt::SkipEmptyParts);
    if (levels.isEmpty()) {
        error(line, QStringLiteral("aucun niveau (B0, B1, B2, BR ou BC)"));
        return;
    }
    for (const QString& level : levels) {
        const auto known = std::find_if(data::kNiveaux.begin(), data::kNiveaux.end(), [&](const QString& name) {
            return level.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (known == data::kNiveaux.end()) {
            error(line, QStringLiteral("niveau « %1 » inconnu (B0, B1, B2, BR ou BC)").arg(level));
            return;
        }
        q.levels[static_cast<std::size_t>(known - data::kNiveaux.begin())] = true;
    }

    const QString kind = fields[4].toLower();
    if (kind != u"qcm" && kind != u"ordre") {
        error(line, QStringLiteral("genre « %1 » inconnu (qcm ou ordre)").arg(fields[4]));
        return;
    }
    q.qcm = kind == u"qcm";

    if (!number(line, QStringLiteral("temps de la question"), fields[5], 0, kMaxInteger, q.temps)) {
        return;
    }
    q.text = fields[6];
    if (!text(line, QStringLiteral("texte de la question"), q.text, data::TailleQuestion)) {
        return;
    }

    for (qsizetype i = 0; i < answerCount; ++i) {
        Answer a;
        a.text = fields[kQuestionFixedColumns + 2 * i];
        const QString& value = fields[kQuestionFixedColumns + 2 * i + 1];
        const QString what = QStringLiteral("réponse %1").arg(i + 1);
        if (!text(line, what, a.text, data::TailleReponse)) {
            return;
        }
        const int hi = q.qcm ? 1 : static_cast<int>(answerCount);
        const int lo = q.qcm ? 0 : 1;
        if (!number(line, QStringLiteral("valeur de la %1").arg(what), value, lo, hi, a.expected)) {
            return;
        }
        q.answers.push_back(std::move(a));
    }
    if (!q.qcm) {
        std::vector<int> ranks;
        for (const Answer& a : q.answers) {
            ranks.push_back(a.expected);
        }
        std::sort(ranks.begin(), ranks.end());
        if (std::adjacent_find(ranks.begin(), ranks.end()) != ranks.end()) {
            error(line,
                  QStringLiteral("question à remettre dans l'ordre : chaque rang de 1 à %1 doit être donné une fois")
                      .arg(answerCount));
            return;
        }
    }
    result_.source.questions.push_back(std::move(q));
}

void Parser::picture(int line, const QStringList& fields) {
    if (fields.size() != 4 && fields.size() != 5) {
        error(line, QStringLiteral("nombre de colonnes incorrect : %1 au lieu de 4 ou 5 (image;numéro;place;fichier"
                                   "[;nom])")
                        .arg(fields.size()));
        return;
    }
    SourcePicture p;
    p.line = line;
    if (!number(line, QStringLiteral("numéro de question de l'image"), fields[1], 1, kMaxInteger, p.numero)) {
        return;
    }
    bool ok = true;
    if (fields[2].compare(u"question", Qt::CaseInsensitive) != 0) {
        p.place = fields[2].toInt(&ok);
        ok = ok && p.place >= 1 && p.place <= data::NbReponsesMax;
    }
    if (!ok) {
        error(line, QStringLiteral("place « %1 » inconnue (question, ou 1 à %2 pour une réponse)")
                        .arg(fields[2])
                        .arg(data::NbReponsesMax));
        return;
    }
    p.file = QString(fields[3]).replace(u'\\', u'/');
    if (p.file.isEmpty()) {
        error(line, QStringLiteral("fichier de l'image vide"));
        return;
    }
    const bool absolute = p.file.startsWith(u'/') || (p.file.size() > 1 && p.file[1] == u':');
    if (absolute) {
        error(line, QStringLiteral("image « %1 » : chemin absolu ; nommez l'image depuis le dossier de la source")
                        .arg(fields[3]));
        return;
    }
    const QStringList parts = p.file.split(u'/');
    if (parts.contains(QStringLiteral(".."))) {
        error(line, QStringLiteral("image « %1 » : le chemin sort du dossier de la source ; mettez l'image dans ce "
                                   "dossier ou un de ses sous-dossiers")
                        .arg(fields[3]));
        return;
    }
    if (parts.last().isEmpty() || parts.last() == u".") {
        error(line, QStringLiteral("image « %1 » : aucun nom de fichier").arg(fields[3]));
        return;
    }
    p.image.nom = fields.size() == 5 ? fields[4] : parts.last();
    if (!text(line, QStringLiteral("nom de l'image"), p.image.nom, data::kTailleNomImage)) {
        return;
    }
    result_.source.pictures.push_back(std::move(p));
}

bool Parser::load(SourcePicture& picture) {
    const auto refuse = [&](const QString& why) {
        error(picture.line, QStringLiteral("image %1").arg(why));
        return false;
    };
    const QString quoted = QStringLiteral("« %1 »").arg(picture.file);
    if (folder_.isEmpty()) {
        return refuse(quoted + QStringLiteral(" : aucun dossier où la lire"));
    }
    const QFileInfo info(QDir(folder_).filePath(picture.file));
    if (!info.exists()) {
        return refuse(quoted + QStringLiteral(" introuvable dans le dossier de la source"));
    }
    if (info.isDir()) {
        return refuse(quoted + QStringLiteral(" : c'est un dossier"));
    }
    auto read = data::lireFichierImage(info.filePath(), picture.file);
    if (const auto* refused = std::get_if<QString>(&read)) {
        return refuse(QStringLiteral(": ") + *refused);
    }
    picture.image.octets = std::get<data::Image>(read).octets;
    return true;
}

// Each picture against its question, once the questions are all read: a question of the test, an answer it has,
// each place once, then the file read.
void Parser::checkPictures() {
    const TestSource& s = result_.source;
    const bool everyQuestionRead = static_cast<int>(s.questions.size()) == questionLines_;
    std::map<std::pair<int, int>, int> lineOfPlace;
    for (SourcePicture& p : result_.source.pictures) {
        const auto q = std::find_if(s.questions.begin(), s.questions.end(),
                                    [&](const SourceQuestion& question) { return question.numero == p.numero; });
        if (q == s.questions.end()) {
            if (everyQuestionRead) { // otherwise its line may be the one refused
                error(p.line, QStringLiteral("image : aucune question numéro %1").arg(p.numero));
            }
            continue;
        }
        const auto answers = static_cast<int>(q->answers.size());
        if (p.place > answers) {
            error(p.line, QStringLiteral("image : la question %1 n'a pas de réponse %2 (%3 réponse%4)")
                              .arg(p.numero)
                              .arg(p.place)
                              .arg(answers)
                              .arg(answers > 1 ? QStringLiteral("s") : QString()));
            continue;
        }
        const auto [it, inserted] = lineOfPlace.emplace(std::pair(p.numero, p.place), p.line);
        if (!inserted) {
            const QString where = p.place == 0
                                      ? QStringLiteral("la question %1").arg(p.numero)
                                      : QStringLiteral("la réponse %1 de la question %2").arg(p.place).arg(p.numero);
            error(p.line, QStringLiteral("image : %1 a déjà une image (ligne %2)").arg(where).arg(it->second));
            continue;
        }
        load(p);
    }
}

void Parser::finish() {
    TestSource& s = result_.source;
    if (tempsLine_ == 0) {
        fileError(QStringLiteral("ligne « temps;secondes » manquante"));
    }
    if (toleranceLine_ == 0) {
        fileError(QStringLiteral("ligne « tolerance;pourcentage » manquante"));
    }
    if (s.chapters.empty()) {
        fileError(QStringLiteral("aucun chapitre (ligne « chapitre;numéro;nom »)"));
    }
    if (s.questions.empty()) {
        fileError(QStringLiteral("aucune question"));
        return;
    }

    const int n = questionLines_;
    std::map<int, int> lineOfNumber;
    for (const SourceQuestion& q : s.questions) {
        const bool declared =
            std::any_of(s.chapters.begin(), s.chapters.end(), [&](const Chapter& c) { return c.numero == q.chapitre; });
        if (!declared) {
            error(q.line,
                  QStringLiteral("chapitre %1 non déclaré (ligne « chapitre;%1;nom » manquante)").arg(q.chapitre));
        }
        const auto [it, inserted] = lineOfNumber.emplace(q.numero, q.line);
        if (!inserted) {
            error(q.line, QStringLiteral("question numéro %1 déjà donnée ligne %2").arg(q.numero).arg(it->second));
        } else if (q.numero > n) {
            error(q.line, QStringLiteral("question numéro %1 : les questions doivent être numérotées de 1 à %2")
                              .arg(q.numero)
                              .arg(n));
        }
    }
    checkPictures();
    if (result_.errors.isEmpty()) {
        for (const data::Probleme& p : data::controlerTest(toTest(s, fileName_))) {
            if (p.question < 0) {
                fileError(p.message);
            } else {
                error(s.questions[static_cast<std::size_t>(p.question)].line, p.message);
            }
        }
    }
}

} // namespace

bool splitFields(const QString& line, QStringList& fields, QList<bool>* quotedFields) {
    fields.clear();
    QList<bool> quotes;
    QString field;
    bool quoted = false;    // inside quotes
    bool wasQuoted = false; // the current field had quotes: keep its spaces
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            field.clear();
            quoted = true;
            wasQuoted = true;
        } else if (c == u';') {
            fields << (wasQuoted ? field : field.trimmed());
            quotes << wasQuoted;
            field.clear();
            wasQuoted = false;
        } else if (!(wasQuoted && c.isSpace())) {
            field += c;
        }
    }
    if (quoted) {
        return false;
    }
    fields << (wasQuoted ? field : field.trimmed());
    quotes << wasQuoted;
    while (!fields.isEmpty() && fields.last().isEmpty()) {
        fields.removeLast();
        quotes.removeLast();
    }
    if (quotedFields) {
        *quotedFields = std::move(quotes);
    }
    return true;
}

data::Test toTest(const TestSource& source, const QString& fileName) {
    data::Test test;
    test.fichier = fileName;
    test.nom = data::nomTestDeFichier(fileName);
    test.temps = source.temps;
    test.tolerance = source.tolerance;
    for (const Chapter& c : source.chapters) {
        test.chapitres.push_back({c.nom, c.numero});
    }
    for (const SourceQuestion& q : source.questions) {
        data::QuestionTest row;
        for (std::size_t i = 0; i < data::kNiveaux.size(); ++i) {
            row[data::champ::B0 + i] = q.levels[i];
        }
        row[data::champ::Question] = q.text;
        row[data::champ::NbreReponse] = static_cast<int>(q.answers.size());
        for (std::size_t i = 0; i < static_cast<std::size_t>(data::NbReponsesMax); ++i) {
            const bool shown = i < q.answers.size();
            row[data::champ::R1 + i] = shown ? q.answers[i].text : QStringLiteral("");
            row[data::champ::S1 + i] = shown ? q.answers[i].expected : 0;
        }
        row[data::champ::Temps] = q.temps;
        row[data::champ::Qcm] = q.qcm;
        row[data::champ::Chapitre] = q.chapitre;
        row[data::champ::Numero] = q.numero;
        test.questions.push_back(std::move(row));
    }
    for (const SourcePicture& p : source.pictures) {
        test.images[p.numero].place(p.place) = p.image;
    }
    return test;
}

QString summary(const data::Test& test, const QString& fileName) {
    const auto count = [](std::size_t n, const char* word) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(word), n > 1 ? QStringLiteral("s") : QString());
    };
    const auto images = static_cast<std::size_t>(data::nombreImages(test.images));
    return QStringLiteral("%1 : %2, %3, %4 s, %5 %%6")
        .arg(fileName, count(test.questions.size(), "question"), count(test.chapitres.size(), "chapitre"),
             test.temps.toString(), test.tolerance.toString(),
             images > 0 ? QStringLiteral(", ") + count(images, "image") : QString());
}

namespace {

// A field as the source writes it: between quotes when reading it bare would change it.
QString sourceField(const QString& value) {
    static const QRegularExpression needsQuotes(QStringLiteral("[;\"#]|^\\s|\\s$|^$"));
    if (!value.contains(needsQuotes)) {
        return value;
    }
    return u'"' + QString(value).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString value(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// Whether the picture at that place is one the test shows: its question is there and has that answer.
bool shown(const data::Test& test, int numero, int place) {
    return std::any_of(test.questions.begin(), test.questions.end(), [&](const data::QuestionTest& q) {
        return q[data::champ::Numero].toInt() == numero && place <= q[data::champ::NbreReponse].toInt();
    });
}

// Calls f(numero, place, image) for each picture the test shows, in number and place order.
template <typename F> void eachShownPicture(const data::Test& test, F&& f) {
    for (const auto& [numero, pictures] : test.images) {
        for (int place = 0; place < data::kPlacesImage; ++place) {
            if (const std::optional<data::Image>& image = pictures.place(place); image && shown(test, numero, place)) {
                f(numero, place, *image);
            }
        }
    }
}

// The place as a source line writes it.
QString placeField(int place) {
    return place == 0 ? QStringLiteral("question") : QString::number(place);
}

constexpr qsizetype kNameBytesMax = 200; // well within the 255 bytes of the file systems, a " (2)" added

} // namespace

QString pictureFileName(const data::Image& image, int numero, int place) {
    QString name;
    for (const QChar c : image.nom) {
        const bool refused = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"/\\<>:\"|?*").contains(c);
        name += refused ? u'_' : c;
    }
    while (name.endsWith(u'.') || name.endsWith(u' ')) {
        name.chop(1);
    }
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[0-9]|lpt[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (name.trimmed().isEmpty() || name.startsWith(u'.') || name.contains(device) ||
        name.toUtf8().size() > kNameBytesMax) {
        const QString extension = data::extensionImage(image.octets);
        name = place == 0 ? QStringLiteral("image question %1").arg(numero)
                          : QStringLiteral("image question %1 réponse %2").arg(numero).arg(place);
        if (!extension.isEmpty()) {
            name += u'.' + extension;
        }
    }
    return name;
}

QByteArray exportSource(const data::Test& test, QStringList& errors, const PictureFiles& files) {
    QString out = QStringLiteral("# Source du test %1 (kelvane-outil test CE_FICHIER.csv %1)\n").arg(test.fichier);
    out += QStringLiteral("temps;%1\ntolerance;%2\n").arg(value(test.temps), value(test.tolerance));
    const auto text = [&](const QString& where, const QVariant& v) {
        const QString t = value(v);
        if (t.contains(u'\n') || t.contains(u'\r')) {
            errors << QStringLiteral("%1 : %2 : texte sur plusieurs lignes, qu'une source ne peut pas tenir")
                          .arg(test.fichier, where);
        }
        return sourceField(t);
    };
    for (const data::Test::Chapitre& c : test.chapitres) {
        out += QStringLiteral("chapitre;%1;%2\n")
                   .arg(value(c.numero), text(QStringLiteral("chapitre %1").arg(value(c.numero)), c.nom));
    }
    for (std::size_t i = 0; i < test.questions.size(); ++i) {
        const data::QuestionTest& q = test.questions[i];
        const QString where = QStringLiteral("question %1").arg(i + 1);
        QStringList levels;
        for (std::size_t l = 0; l < data::kNiveaux.size(); ++l) {
            if (q[data::champ::B0 + l].toBool()) {
                levels << data::kNiveaux[l];
            }
        }
        bool ok = false;
        const int n = q[data::champ::NbreReponse].toInt(&ok);
        if (!ok || n < 1 || n > data::NbReponsesMax) {
            errors << QStringLiteral("%1 : %2 : nombre de réponses « %3 » incorrect (1 à %4)")
                          .arg(test.fichier, where, value(q[data::champ::NbreReponse]))
                          .arg(data::NbReponsesMax);
            continue;
        }
        QStringList fields{QStringLiteral("question"),
                           value(q[data::champ::Numero]),
                           value(q[data::champ::Chapitre]),
                           levels.join(u' '),
                           q[data::champ::Qcm].toBool() ? QStringLiteral("qcm") : QStringLiteral("ordre"),
                           value(q[data::champ::Temps]),
                           text(where, q[data::champ::Question])};
        for (int a = 0; a < n; ++a) {
            fields << text(QStringLiteral("%1, réponse %2").arg(where).arg(a + 1),
                           q[static_cast<std::size_t>(data::champ::R1 + a)])
                   << value(q[static_cast<std::size_t>(data::champ::S1 + a)]);
        }
        out += fields.join(u';') + u'\n';
    }
    eachShownPicture(test, [&](int numero, int place, const data::Image& image) {
        const auto file = files.find({numero, place});
        const QString name = file != files.end() ? file->second : pictureFileName(image, numero, place);
        QStringList fields{QStringLiteral("image"), QString::number(numero), placeField(place), sourceField(name)};
        if (image.nom != name) {
            fields << text(QStringLiteral("question %1, image %2").arg(numero).arg(placeField(place)), image.nom);
        }
        out += fields.join(u';') + u'\n';
    });
    return "\xEF\xBB\xBF" + out.toUtf8();
}

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "schéma (2).png" after "schéma.png".
QString numberedName(const QString& name, int n) {
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype end = dot > 0 ? dot : name.size();
    return name.left(end) + QStringLiteral(" (%1)").arg(n) + name.mid(end);
}

// A picture's file beside the source: one already there with its bytes, or a new one to write.
struct PictureFile {
    QString name;
    QByteArray bytes;
    bool isNew = false;
};

// The files of the pictures the source names, in folder: each its safe name, or the first free numbered one; a
// file already there with the same bytes, or one that this export writes for another place, serves as it is.
// Names are compared without letter case, as Windows and macOS do.
PictureFiles planPictures(const data::Test& test, const QDir& folder, const QString& target,
                          std::vector<PictureFile>& planned) {
    PictureFiles files;
    std::map<QString, std::size_t> chosen; // by case-folded name, into planned
    eachShownPicture(test, [&](int numero, int place, const data::Image& image) {
        const QString base = pictureFileName(image, numero, place);
        for (int n = 1;; ++n) {
            const QString name = n == 1 ? base : numberedName(base, n);
            const QString key = name.toCaseFolded();
            if (key == target.toCaseFolded()) {
                continue;
            }
            if (const auto same = chosen.find(key); same != chosen.end()) {
                if (planned[same->second].bytes != image.octets) {
                    continue;
                }
            } else {
                const QFileInfo there(folder.filePath(name));
                const bool taken = there.exists() || there.isSymLink();
                if (taken && !(there.isFile() && there.size() == image.octets.size() &&
                               fileBytes(there.filePath()) == image.octets)) {
                    continue;
                }
                chosen.emplace(key, planned.size());
                planned.push_back({name, image.octets, !taken});
            }
            files[{numero, place}] = name;
            break;
        }
    });
    return files;
}

} // namespace

TestExport exportTestFile(const QString& testPath, const QString& target) {
    TestExport result;
    auto read = data::lireTest(testPath);
    if (const auto* refused = std::get_if<data::TestRefuse>(&read)) {
        result.faults << QStringLiteral("%1 : %2").arg(QFileInfo(testPath).fileName(), refused->message);
        return result;
    }
    result.test = std::get<data::Test>(std::move(read));
    const QFileInfo targetInfo(target);
    const QDir folder = targetInfo.absoluteDir();
    std::vector<PictureFile> planned;
    const PictureFiles files = planPictures(result.test, folder, targetInfo.fileName(), planned);
    const QByteArray source = exportSource(result.test, result.faults, files);
    if (!result.faults.isEmpty()) {
        return result;
    }

    QStringList written; // removed again when anything fails
    const auto fail = [&](const QString& file, const QString& reason) {
        for (const QString& path : written) {
            QFile::remove(path);
        }
        result.picturesNew.clear();
        result.failedFile = file;
        result.writeFailure = reason;
        return result;
    };
    for (const PictureFile& picture : planned) {
        if (!picture.isNew) {
            continue;
        }
        const QString path = folder.filePath(picture.name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) { // never over a file made meanwhile
            return fail(path, file.errorString());
        }
        written << path;
        const bool whole = file.write(picture.bytes) == picture.bytes.size() && file.flush();
        const QString reason = file.errorString();
        file.close(); // before any removal: Windows removes no open file
        if (!whole) {
            return fail(path, reason);
        }
        result.picturesNew << picture.name;
    }
    const QString failure = platform::writeWholeFile(target, source);
    if (!failure.isEmpty()) {
        return fail(target, failure);
    }
    return result;
}

ParseResult parseTestSource(const QByteArray& data, const QString& fileName, const QString& folder) {
    return Parser(fileName, folder).run(data);
}

ParseResult readTestSource(const QString& path) {
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        ParseResult result;
        result.errors << QStringLiteral("%1 : impossible de lire le fichier (%2)").arg(name, file.errorString());
        return result;
    }
    return parseTestSource(file.readAll(), name, QFileInfo(path).absolutePath());
}

} // namespace kelvane::source
