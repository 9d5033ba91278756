#include "platform/brovik/application/CommandLineArgsParser.h"

namespace KX::Brovik {

CommandLineArgsParser::CommandLineArgsParser() {
    _parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    _parser.addOption(QCommandLineOption(QString::fromLatin1(Uninstall)));
    _parser.addOption(QCommandLineOption(QString::fromLatin1(RemoveDefaultTemplateFolder)));
    _parser.addOption(QCommandLineOption(QString::fromLatin1(OpenInBackground)));
    _parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Documents to open"),
                                  QStringLiteral("[paths...]"));
}

void CommandLineArgsParser::process(const QStringList& arguments) {
    _parser.parse(arguments);
}

bool CommandLineArgsParser::isSet(const QString& name) const {
    return _parser.isSet(name);
}

QStringList CommandLineArgsParser::positionalArguments() const {
    return _parser.positionalArguments();
}

} // namespace KX::Brovik
