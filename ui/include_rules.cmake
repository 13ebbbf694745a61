# Which folder of ui/ may include what: the direction of the library's dependencies.
# A folder's row names what its files may include with "#include \"...\"": a folder
# ending in "/" (any file directly in it) or a single file. The build checks every
# folder's includes against its row before compiling it (cmake/check-includes.cmake),
# so an include against the direction fails the build, naming the file and the include.
#
#   settings     the record, the file and the binding rules: nothing of ours, no SDL
#   screens      widgets, layouts, activation, fields, lobby rules: settings; of the
#                frame only the public header, the state record (state.h) and the
#                run-level operations (frame.h); of the drawing only text measuring
#   draw         painters: settings and screens; of the frame the same three headers
#   font_tables  generated glyph data: the font types
#   frame        the run, input, presentation, exports: everything above
#
# The state record lives in ui/frame/state.h and holds the types of the layers below,
# so those layers read it, as the design wants one record; the frame's other headers
# (dispatch, presentation, progress window, last error) stay its own.
set(VORLA_UI_FOLDERS settings screens draw draw/font_tables frame)

set(VORLA_FRAME_SHARED frame/vorla_ui.h frame/state.h frame/frame.h)
set(VORLA_MAY_INCLUDE_settings settings/)
set(VORLA_MAY_INCLUDE_screens screens/ settings/ ${VORLA_FRAME_SHARED} draw/font.h)
set(VORLA_MAY_INCLUDE_draw draw/ screens/ settings/ ${VORLA_FRAME_SHARED})
set(VORLA_MAY_INCLUDE_draw/font_tables draw/font.h)
set(VORLA_MAY_INCLUDE_frame frame/ screens/ draw/ settings/)

# System headers a folder may not include (a regular expression on the name in <...>).
set(VORLA_MAY_NOT_INCLUDE_settings "^SDL")
