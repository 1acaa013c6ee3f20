# The module player's portable part: song model, stream layer, XM loader, mixer, and the
# sequencer that drives the mixer's voices. The intro's build and the tools' own build (a cross
# build makes one for the build machine) both include this: the tools check modules with the
# player's loader.
set(OMRA_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
add_library(omra_player STATIC
    ${OMRA_SOURCE_ROOT}/player/audio_thread.cpp
    ${OMRA_SOURCE_ROOT}/player/memory_file.cpp
    ${OMRA_SOURCE_ROOT}/player/mixer.cpp
    ${OMRA_SOURCE_ROOT}/player/module_stream.cpp
    ${OMRA_SOURCE_ROOT}/player/playback.cpp
    ${OMRA_SOURCE_ROOT}/player/player.cpp
    ${OMRA_SOURCE_ROOT}/records/player_state.cpp
    ${OMRA_SOURCE_ROOT}/records/tempo.cpp
    ${OMRA_SOURCE_ROOT}/player/voice_motion.cpp
    ${OMRA_SOURCE_ROOT}/player/xm_loader.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/effects.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/envelope.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/flow_control.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/modulation.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/pitch.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/row_processing.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/tick_driver.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/trace.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/voice_update.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/volume_column.cpp
    ${OMRA_SOURCE_ROOT}/sequencer/waveforms.cpp)
target_include_directories(omra_player PUBLIC ${OMRA_SOURCE_ROOT})
find_package(Threads REQUIRED)
target_link_libraries(omra_player PUBLIC Threads::Threads)
omra_compile_options(omra_player)
