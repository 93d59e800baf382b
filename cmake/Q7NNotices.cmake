# Writes THIRD-PARTY-NOTICES.txt from pairs of a heading and a licence file.
#   cmake -DOUTPUT=FILE "-DNOTICES=HEADING;FILE;HEADING;FILE..." -P Q7NNotices.cmake
set(rule "================================================================================")
string(CONCAT text "The programs in this folder are statically linked with the following third-party code,\n"
         "which is used under the licences below.\n")
list(LENGTH NOTICES count)
math(EXPR last "${count} - 1")
foreach(index RANGE 0 ${last} 2)
    math(EXPR next "${index} + 1")
    list(GET NOTICES ${index} heading)
    list(GET NOTICES ${next} source)
    file(READ ${source} licence)
    string(APPEND text "\n${rule}\n${heading}\n${rule}\n\n${licence}")
endforeach()
# Windows' own editors expect CR LF.
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT}.tmp "${text}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
