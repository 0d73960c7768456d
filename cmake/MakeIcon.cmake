# Draws the program's icon, a gradient "V" on a transparent square of SIZE pixels, with
# the renderer RENDER into OUTPUT. Run as: cmake -DRENDER=... -DSIZE=... -DOUTPUT=... -P
# The renderer sizes a logo by its text, so the largest font height whose logo fits
# the square with an even gap on both axes is looked for; margins fill the gap.
set(look -- --text V --font "Liberation Sans" --bold --bg white --mix B
    --top "#1565c0" --last "#00bfa5" --direction 1)
list(REMOVE_AT look 0)
set(height ${SIZE})
while(height GREATER 0)
  execute_process(COMMAND ${RENDER} ${look} --font-height ${height} --print-size
    OUTPUT_VARIABLE size RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "vezodev-render failed (${status}) while making the icon")
  endif()
  string(REGEX MATCH "^([0-9]+) x ([0-9]+)$" matched "${size}")
  math(EXPR gapX "${SIZE} - ${CMAKE_MATCH_1}")
  math(EXPR gapY "${SIZE} - ${CMAKE_MATCH_2}")
  if(gapX GREATER_EQUAL 0 AND gapY GREATER_EQUAL 0)
    math(EXPR oddX "${gapX} % 2")
    math(EXPR oddY "${gapY} % 2")
    if(oddX EQUAL 0 AND oddY EQUAL 0)
      math(EXPR hspace "${gapX} / 2")
      math(EXPR vspace "${gapY} / 2")
      execute_process(COMMAND ${RENDER} ${look} --font-height ${height}
        --hspace ${hspace} --vspace ${vspace} --transparent -o ${OUTPUT} RESULT_VARIABLE status)
      if(NOT status EQUAL 0)
        message(FATAL_ERROR "vezodev-render failed (${status}) while writing ${OUTPUT}")
      endif()
      return()
    endif()
  endif()
  math(EXPR height "${height} - 1")
endwhile()
message(FATAL_ERROR "no font height gives a ${SIZE} x ${SIZE} icon")
