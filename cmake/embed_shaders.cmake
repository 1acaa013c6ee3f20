# Writes OUTPUT, a C++ source defining one omra::shader_source::<name> string per .glsl file in
# SHADER_DIR, so the executable carries its shaders as constants. The name is the file's stem in
# lower camel case: scanline_fragment.glsl becomes shader_source::scanlineFragment.
# Run as: cmake -DSHADER_DIR=render/shaders -DOUTPUT=shader_sources.cpp -P embed_shaders.cmake

function(lower_camel_case snake result)
    string(REPLACE "_" ";" words "${snake}")
    list(POP_FRONT words camel)
    foreach(word IN LISTS words)
        string(SUBSTRING "${word}" 0 1 first)
        string(SUBSTRING "${word}" 1 -1 rest)
        string(TOUPPER "${first}" first)
        string(APPEND camel "${first}${rest}")
    endforeach()
    set(${result} "${camel}" PARENT_SCOPE)
endfunction()

file(GLOB sources LIST_DIRECTORIES false "${SHADER_DIR}/*.glsl")
list(SORT sources)
set(text "// Generated from render/shaders by cmake/embed_shaders.cmake; edit the .glsl files.\n")
string(APPEND text "#include \"render/shader_sources.h\"\n\nnamespace omra::shader_source {\n")
foreach(source IN LISTS sources)
    get_filename_component(stem "${source}" NAME_WE)
    lower_camel_case("${stem}" name)
    file(READ "${source}" glsl)
    if(glsl MATCHES "\\)glsl\"")
        message(FATAL_ERROR "${source} contains the raw-string delimiter )glsl\"")
    endif()
    # The line break after the opening delimiter is part of the text: every source starts with a
    # line feed and then its version line.
    string(APPEND text "\nconst std::string_view ${name} = R\"glsl(\n${glsl})glsl\";\n")
endforeach()
string(APPEND text "\n} // namespace omra::shader_source\n")

# Rewriting an unchanged file would rebuild everything that depends on it.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
