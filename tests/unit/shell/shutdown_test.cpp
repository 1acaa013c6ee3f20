#include "assets/assets.h"
#include "common/files.h"
#include "fakes/fake_pack_resource.h"
#include "fakes/fake_wave_device.h"
#include "render/scene.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "support/gl_call_recorder.h"
#include "support/headless_gl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <utility>

// The intro's whole life on the headless context, every OpenGL call recorded: start-up as the
// entry point runs it, then the shutdown sequence. Each test ends the process's context, so
// each runs in a process of its own (as ctest runs them).
namespace omra {
namespace {

using gl_call_recorder::Call;
using Object = std::pair<std::string, GLuint>;

// Notes in the call record when the music stops.
class RecordedWaveDevice : public FakeWaveDevice {
public:
    void close() override {
        FakeWaveDevice::close();
        gl_call_recorder::note("wave device closed");
    }
};

RecordedWaveDevice device;

Bytes joinPackEntries(const std::vector<Bytes>& entries) {
    Bytes pack;
    for (const Bytes& entry : entries) {
        const auto size = static_cast<std::uint32_t>(entry.size());
        for (int shift = 0; shift < 32; shift += 8) {
            pack.push_back(static_cast<std::uint8_t>(size >> shift));
        }
        pack.insert(pack.end(), entry.begin(), entry.end());
    }
    return pack;
}

// The shipped pack, or the same with a module no player can load.
Bytes shippedPack(bool withSong) {
    std::vector<Bytes> entries = splitPackEntries(tools::readFile(OMRA_PACK_FILE));
    if (!withSong) {
        entries[pack_entry::Module] = Bytes(64, 0x55);
    }
    return joinPackEntries(entries);
}

// The deletions the shutdown must make, in order, with the names set-up gave each object.
std::vector<Object> expectedReleases() {
    std::vector<Object> expected;
    const auto vertexData = [&expected](const VertexArray& data) {
        expected.insert(expected.end(),
                        {{"Buffer", data.buffer}, {"VertexArray", data.vertexArray}});
    };
    vertexData(scene.logoQuad);
    vertexData(scene.spikedCube);
    vertexData(scene.bars);
    vertexData(scene.backgroundQuad);
    expected.push_back({"Texture", scene.font->texture->id});
    vertexData(scene.font->mesh);
    vertexData(scene.textMesh->mesh);
    expected.push_back({"Texture", scene.textMesh->atlas});
    expected.push_back({"Program", scene.textProgram->program()});
    expected.push_back({"Texture", scene.logo->id});
    vertexData(scene.starField->mesh);
    expected.push_back({"Program", scene.starField->program->program()});
    vertexData(scene.framebuffer->quad);
    expected.push_back({"Renderbuffer", scene.framebuffer->depthRenderbuffer});
    expected.push_back({"Framebuffer", scene.framebuffer->framebuffer});
    expected.push_back({"Texture", scene.framebuffer->colour->id});
    for (const auto* program : {&scene.screenProgram, &scene.spriteProgram, &scene.objectProgram,
                                &scene.barProgram, &scene.backgroundProgram}) {
        expected.push_back({"Program", (*program)->program()});
    }
    return expected;
}

// The first call or event of that name from `from` on; the record's size when there is none.
std::size_t indexOf(const std::vector<Call>& calls, const std::string& name, std::size_t from = 0) {
    const auto found = std::find_if(calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end(),
                                    [&name](const Call& call) { return call.name == name; });
    return static_cast<std::size_t>(found - calls.begin());
}

class Shutdown : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        static bool contextUsed = false;
        if (std::exchange(contextUsed, true)) {
            GTEST_SKIP() << "one shutdown per process: run each test on its own, as ctest does";
        }
        fake_pack_resource::pack = shippedPack(GetParam());
        gl_call_recorder::start();
        headless::openContext(headless::windowWidth(), headless::windowHeight());
        setWaveDevice(&device);
        runStartup();
    }
};

TEST_P(Shutdown, StopsTheMusicThenReleasesEverySceneObjectOnceInOrderBeforeTheContextGoes) {
    const std::vector<Object> expected = expectedReleases();
    gl_call_recorder::note("shutdown");
    runShutdown();

    const std::vector<Call>& calls = gl_call_recorder::calls();
    const std::size_t shutdown = indexOf(calls, "shutdown");
    const std::size_t contextDeleted = indexOf(calls, "deleteRenderingContext");
    const std::size_t libraryReleased = indexOf(calls, "releaseGlLibrary");
    ASSERT_LT(contextDeleted, calls.size());
    ASSERT_LT(libraryReleased, calls.size());
    EXPECT_LT(contextDeleted, libraryReleased);
    EXPECT_EQ(libraryReleased + 1, calls.size()) << "nothing follows the library's release";
    for (std::size_t i = contextDeleted + 1; i < libraryReleased; ++i) {
        ADD_FAILURE() << calls[i].name << " after the context was deleted";
    }

    // The music stops first: the device is closed before any OpenGL call of the shutdown, with
    // a song playing or, when none loaded, at once.
    const std::size_t deviceClosed = indexOf(calls, "wave device closed", shutdown);
    if (GetParam()) {
        ASSERT_LT(deviceClosed, calls.size());
        EXPECT_EQ(deviceClosed, shutdown + 1);
    } else {
        EXPECT_EQ(deviceClosed, calls.size()) << "no song, so no device was left open";
    }
    EXPECT_FALSE(device.isOpen);

    std::vector<Object> released;
    for (std::size_t i = shutdown; i < contextDeleted; ++i) {
        const std::string kind = gl_call_recorder::deletedKind(calls[i]);
        if (!kind.empty()) {
            for (const GLuint name : calls[i].objects) {
                released.push_back({kind, name});
            }
        }
    }
    EXPECT_EQ(released, expected);

    // Over the whole run every object made is deleted exactly once, and only made ones are.
    std::set<Object> alive;
    for (const Call& call : calls) {
        for (const GLuint name : call.objects) {
            if (const std::string kind = gl_call_recorder::createdKind(call); !kind.empty()) {
                EXPECT_TRUE(alive.insert({kind, name}).second) << call.name << " " << name;
            }
            if (const std::string kind = gl_call_recorder::deletedKind(call); !kind.empty()) {
                EXPECT_EQ(alive.erase({kind, name}), 1u) << call.name << " " << name;
            }
        }
    }
    EXPECT_TRUE(alive.empty()) << alive.size() << " objects never deleted";
}

INSTANTIATE_TEST_SUITE_P(Song, Shutdown, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Playing" : "NotLoaded"; });

} // namespace
} // namespace omra
