#include "support/gl_call_recorder.h"

#include "core/gl_function_table.h"
#include "support/headless_gl.h"

#include <cstring>
#include <string_view>

namespace omra::gl_call_recorder {

namespace {

std::vector<Call> recorded;

// What a call's arguments say about objects: glGen*(n, names) and glDelete*(n, names) hand over
// an array, glDeleteProgram and glDeleteShader one name. Other calls' arguments are of no
// interest; the name of the call tells which of these applies.
void noteObjects(Call& call, GLsizei count, GLuint* names) {
    call.objects.assign(names, names + count);
}
void noteObjects(Call& call, GLsizei count, const GLuint* names) {
    call.objects.assign(names, names + count);
}
void noteObjects(Call& call, GLuint name) {
    call.objects = {name};
}
template <typename... Arguments>
void noteObjects(Call&, Arguments...) {}

bool handlesObjects(std::string_view name) {
    return name.starts_with("glGen") || name.starts_with("glDelete");
}

// One stand-in per entry point: records the call, then calls the driver's function.
template <typename Tag, typename Function>
struct StandIn;

template <typename Tag, typename Result, typename... Arguments>
struct StandIn<Tag, Result(APIENTRYP)(Arguments...)> {
    static inline Result(APIENTRYP driver)(Arguments...) = nullptr;

    static Result APIENTRY call(Arguments... arguments) {
        Call entry{Tag::name, {}};
        if constexpr (std::is_void_v<Result>) {
            driver(arguments...);
            if (handlesObjects(entry.name)) {
                noteObjects(entry, arguments...);
            }
            recorded.push_back(std::move(entry));
        } else {
            const Result result = driver(arguments...);
            if (entry.name == "glCreateProgram" || entry.name == "glCreateShader") {
                entry.objects = {static_cast<GLuint>(result)};
            }
            recorded.push_back(std::move(entry));
            return result;
        }
    }
};

#define OMRA_STAND_IN_TAG(type, function)                                                          \
    struct function##Tag {                                                                         \
        static constexpr const char* name = "gl" #function;                                        \
    };
OMRA_GL_FUNCTIONS(OMRA_STAND_IN_TAG)
#undef OMRA_STAND_IN_TAG

void* standInFor(const char* name, void* driverEntryPoint) {
#define OMRA_STAND_IN(type, function)                                                              \
    if (std::strcmp(name, "gl" #function) == 0) {                                                  \
        using Entry = StandIn<function##Tag, type>;                                                \
        Entry::driver = reinterpret_cast<type>(driverEntryPoint);                                  \
        return reinterpret_cast<void*>(&Entry::call);                                              \
    }
    OMRA_GL_FUNCTIONS(OMRA_STAND_IN)
#undef OMRA_STAND_IN
    return driverEntryPoint;
}

std::string kindAfter(const Call& call, std::string_view prefix) {
    std::string_view name = call.name;
    if (!name.starts_with(prefix)) {
        return {};
    }
    name.remove_prefix(prefix.size());
    if (name.ends_with('s')) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

} // namespace

void start() {
    headless::observeContext({standInFor, [](const char* what) { note(what); }});
}

std::vector<Call>& calls() {
    return recorded;
}

void note(const std::string& event) {
    recorded.push_back({event, {}});
}

std::string createdKind(const Call& call) {
    const std::string generated = kindAfter(call, "glGen");
    return generated.empty() ? kindAfter(call, "glCreate") : generated;
}

std::string deletedKind(const Call& call) {
    return kindAfter(call, "glDelete");
}

} // namespace omra::gl_call_recorder
