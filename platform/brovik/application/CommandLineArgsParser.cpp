#include "platform/brovik/application/CommandLineArgsParser.h"

namespace KX::Brovik {

CommandLineArgsParser::CommandLineArgsParser() {
    _parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    _parser.addOption(QCommandLineOption({QStringLiteral("h"), QString::fromLatin1(Help)},
                                         QStringLiteral("Shows this help and exits.")));
    _parser.addOption(QCommandLineOption(QString::fromLatin1(Uninstall),
                                         QStringLiteral("Removes the user's settings and exits.")));
    _parser.addOption(QCommandLineOption(QString::fromLatin1(RemoveDefaultTemplateFolder),
                                         QStringLiteral("Deletes the default templates and exits.")));
    _parser.addOption(QCommandLineOption(QString::fromLatin1(OpenInBackground),
                                         QStringLiteral("Opens the documents in minimised windows.")));
    _parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Documents to open."),
                                  QStringLiteral("[paths...]"));
}

void CommandLineArgsParser::process(const QStringList& arguments) {
    _parser.parse(arguments);
}

bool CommandLineArgsParser::isSet(const QString& name) const {
    return _parser.isSet(name);
}

QString CommandLineArgsParser::helpText() const {
    return _parser.helpText();
}

QStringList CommandLineArgsParser::positionalArguments() const {
    return _parser.positionalArguments();
}

} // namespace KX::Brovik
