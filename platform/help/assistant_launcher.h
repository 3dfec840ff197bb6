// Starts Qt Assistant detached, with a line to its standard input for later commands.
#pragma once

#include "platform/help/assistant_viewer.h"

namespace quintrel::help {

// On Unix the viewer's standard input is a named pipe whose only writer is this program: the
// viewer outlives the program (detached, in a session of its own), takes "show index" and the
// like while both run, and simply stops listening when the program ends. Elsewhere the viewer
// is started plainly and every request starts a new one.
class AssistantLauncher : public ViewerLauncher {
  public:
    std::unique_ptr<ViewerProcess> start(const QString& program,
                                         const QStringList& arguments) override;
};

}  // namespace quintrel::help
