#pragma once

#include <QList>

class QAction;

namespace KX::Brovik {

using CommandsList = QList<QAction*>;

// The command search ("what do you want to do?") of an editor window.
class CommandsAssistantDelegate {
public:
    virtual ~CommandsAssistantDelegate() = default;
    virtual void activateCommandsAssistant() = 0;
    virtual CommandsList getCommandsList() = 0;
};

} // namespace KX::Brovik
