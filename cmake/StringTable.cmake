# Turns the STRINGTABLE of an .rc script into C++ rows {id, L"text"}.
# Usage: cmake -DIN=strings.rc -DOUT=StringTable.inc -P StringTable.cmake
file(STRINGS ${IN} lines ENCODING UTF-8)
set(out "// generated from ${IN}; edit the .rc script instead\n")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*([0-9]+)[ \t]*,[ \t]*(\".*\")[ \t]*$")
    set(id ${CMAKE_MATCH_1})
    set(text ${CMAKE_MATCH_2})
    string(APPEND out "{${id}, L${text}},\n")
  endif()
endforeach()
file(WRITE ${OUT}.tmp "${out}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
