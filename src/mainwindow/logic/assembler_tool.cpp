#include "assembler_tool.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <array>

namespace tavrin {

namespace {

const QString kAssemblerFailure = QStringLiteral("アセンブルエラーを検出しました。");
const QString kCompilerFailure = QStringLiteral("コンパイルエラーを検出しました。");
const QString kAssemblerDialogTitle =
    QStringLiteral("HEXファイルが未指定なので、アセンブルを行うソースファイルを指定してください。");
const QString kCompilerDialogTitle =
    QStringLiteral("HEXファイルが未指定なので、コンパイラを行うソースファイルを指定してください。");
const QString kAsmFilter = QStringLiteral("asmファイル (*.asm *.ASM);;全てのファイル (*)");
const QString kAsmChoiceFilter = QStringLiteral("ASMファイル (*.ASM *.asm);;全てのファイル (*)");
const QString kCFilter = QStringLiteral("Cファイル (*.c *.C);;全てのファイル (*)");
const QString kCChoiceFilter = QStringLiteral("Cファイル (*.C *.c);;全てのファイル (*)");

const std::array<ToolVariant, 4> kVariants{{
    {0, QStringLiteral("asm"), false, kAssemblerFailure, kAssemblerDialogTitle, kAsmFilter,
     QStringLiteral("ASM"), kAsmChoiceFilter, QStringLiteral("ASM")},
    {1, QStringLiteral("asm"), false, kAssemblerFailure, kAssemblerDialogTitle, kAsmFilter,
     QStringLiteral("ASM"), kAsmChoiceFilter, QStringLiteral("ASM")},
    {2, QStringLiteral("c"), false, kCompilerFailure, kCompilerDialogTitle, kCFilter,
     QStringLiteral("C"), kCChoiceFilter, QStringLiteral("C")},
    {3, QStringLiteral("c"), true, kCompilerFailure, kCompilerDialogTitle, kCFilter,
     QStringLiteral("C"), kCChoiceFilter, QStringLiteral("C")},
}};

// The tool names in the order they are tried; a later match wins.
struct ToolName {
    const char* name;
    int kind;
};
constexpr std::array<ToolName, 4> kToolNames{{
    {"mpasm", 1},
    {"mpasmwin", 1},
    {"ccsc", 2},
    {"picc", 3},
}};

template <class Matches> int kindOf(const QString& toolPath, Matches matches) {
    const QString path = toolPath.toLower();
    int kind = 0;
    for (const ToolName& t : kToolNames)
        if (matches(path, QLatin1String(t.name))) kind = t.kind;
    return kind;
}

// Quoted for reading when the argument would not read as one word.
QString quotedForReading(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('"')) && !argument.contains(QLatin1Char('\t')))
        return argument;
    QString quoted = argument;
    quoted.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

const ToolVariant& toolVariant(int kind) {
    return kVariants.at(std::size_t(kind >= 0 && kind < 4 ? kind : 0));
}

int toolKindForRun(const QString& toolPath) {
    return kindOf(toolPath, [](const QString& path, QLatin1String name) {
        return path.contains(name + QLatin1String(".exe")) || path.endsWith(name);
    });
}

int toolKindForSourceChoice(const QString& toolPath) {
    return kindOf(toolPath,
                  [](const QString& path, QLatin1String name) { return path.contains(name); });
}

QString basePathOf(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= 0 ? name.left(dot) : name;
    return path.left(path.size() - name.size()) + stem + QLatin1Char('.');
}

AssemblerFiles assemblerFiles(const QString& hexPath, const ToolVariant& variant,
                              const QString& errorExtension) {
    AssemblerFiles files;
    files.base = basePathOf(hexPath);
    files.hex = hexPath;
    files.source = files.base + variant.sourceExtension;
    if (!QFileInfo::exists(files.source)) {
        // A source written as PROG.ASM belongs to PROG.HEX as much as prog.asm does.
        const QFileInfo wanted(files.source);
        const QString folderPrefix =
            files.source.left(files.source.size() - wanted.fileName().size());
        for (const QString& entry : wanted.absoluteDir().entryList(QDir::Files | QDir::Hidden))
            if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) {
                files.source = folderPrefix + entry;
                break;
            }
    }
    const QString extension = errorExtension.trimmed();
    if (!extension.isEmpty()) files.errorFile = files.base + extension;
    return files;
}

QStringList toolArguments(const QString& options, const QString& sourceFileName) {
    QStringList arguments = QProcess::splitCommand(options);
    arguments << sourceFileName;
    return arguments;
}

QString commandText(const QString& program, const QStringList& arguments) {
    QStringList words{quotedForReading(program)};
    for (const QString& a : arguments)
        words << quotedForReading(a);
    return words.join(QLatin1Char(' '));
}

QString runInformationText(const QString& command, const QString& errorFile,
                           const QString& workingDir) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("アセンブル・コンパイル情報") + crlf + crlf +
           QStringLiteral("シェル起動コマンド　　") + crlf + QStringLiteral("  ") + command + crlf +
           QStringLiteral("エラー時に開くファイル") + crlf + QStringLiteral("  ") + errorFile +
           crlf + QStringLiteral("カレントディレクトリ　") + crlf + QStringLiteral("  ") +
           workingDir;
}

QString compileSucceededQuestion() {
    const QString crlf = QStringLiteral("\r\n");
    const QString wide = QStringLiteral("　");
    return QStringLiteral("コンパイルは正常に終了しましたか？") + wide.repeated(17) + crlf + crlf +
           QStringLiteral("[ はい ]\tＨＥＸファイルを再ロードします。") + wide.repeated(10) + crlf +
           QStringLiteral("[いいえ]\tＨＥＸファイルを再ロードしません。") + wide.repeated(10) +
           crlf;
}

} // namespace tavrin
