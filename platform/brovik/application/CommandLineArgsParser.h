#pragma once

#include <QCommandLineParser>
#include <QStringList>

namespace KX::Brovik {

// The framework's command line: the maintenance options, "open-in-background" and document paths.
// Unknown options are ignored so that launchers passing extra arguments do not stop the program.
class CommandLineArgsParser {
public:
    static constexpr const char* Uninstall = "uninstall";
    static constexpr const char* RemoveDefaultTemplateFolder = "remove-default-template-folder";
    static constexpr const char* OpenInBackground = "open-in-background";
    static constexpr const char* Help = "help";

    CommandLineArgsParser();
    void process(const QStringList& arguments);

    bool isSet(const QString& name) const;
    QStringList positionalArguments() const;
    // The usage: the options with what they do, and the document paths.
    QString helpText() const;

private:
    QCommandLineParser _parser;
};

} // namespace KX::Brovik
