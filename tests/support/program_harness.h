#pragma once
// A Program on test doubles: the virtual clock, scripted dialogs, the
// simulated playback engine, the fake media layer, desktop and tray, on its
// own temporary program folder. Members are public so a test can script
// them; the Program goes first when the harness goes.
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/sim_engine.h"
#include "support/fake_desktop.h"
#include "support/fake_media.h"
#include "support/fake_tray.h"
#include "support/temp_dir.h"
#include "toolkit/scripted_dialogs.h"
#include "toolkit/virtual_loop.h"

namespace tarvolin {

struct ProgramHarness {
    TempDir folder;
    VirtualLoop loop;
    ScriptedDialogs dialogs;
    FakeMediaReader media;
    SimEngineFactory engines{loop, &media};
    FakeDesktop desktop;
    FakeTray tray;
    std::unique_ptr<Program> program;

    // Builds the Program at once unless told not to (to change services()
    // first and call build()).
    explicit ProgramHarness(bool buildNow = true) {
        if (buildNow) build();
    }

    Services services() {
        return Services{loop, dialogs, engines, media, desktop, tray, {}, {}, ""};
    }
    Program& build() { return build(services()); }
    Program& build(const Services& s) {
        program.reset();
        program = std::make_unique<Program>(s, folder.path());
        return *program;
    }
    Program& operator*() { return *program; }
    Program* operator->() { return program.get(); }

    ~ProgramHarness() { program.reset(); }
};

}  // namespace tarvolin
