# Checks the Windows executable as it is shipped: a console program that
# imports nothing but KERNEL32.dll, USER32.dll and msvcrt.dll (so it runs on a
# clean Windows machine), takes from USER32.dll only the idle wait and the
# message box, is stripped, and is at most 128 KiB.
#
#   cmake -DEXECUTABLE=quorvane-shell.exe -DOBJDUMP=x86_64-w64-mingw32-objdump
#         -P check-windows-executable.cmake

cmake_minimum_required(VERSION 3.25)

foreach(variable EXECUTABLE OBJDUMP)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE}
                OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXECUTABLE} failed")
endif()

set(problems "")

if(NOT headers MATCHES "Subsystem[ \t]+00000003[ \t]+\\(Windows CUI\\)")
  list(APPEND problems "not a console (CUI) program")
endif()
foreach(flag "symbols stripped" "debugging information removed")
  if(NOT headers MATCHES "\n[ \t]+${flag}\n")
    list(APPEND problems "file header does not say '${flag}'")
  endif()
endforeach()

# The import table: "DLL Name: X" followed by one line per imported function.
string(REPLACE ";" "," headers "${headers}")
string(REPLACE "\n" ";" lines "${headers}")
set(dlls "")
set(current "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*DLL Name: (.+)$")
    set(current "${CMAKE_MATCH_1}")
    list(APPEND dlls "${current}")
    set(functions_${current} "")
  elseif(current AND line MATCHES "^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+([A-Za-z0-9_]+)$")
    list(APPEND functions_${current} "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^[ \t]*$" OR line MATCHES "^[ \t]*[0-9a-f]+\t")
    set(current "")
  endif()
endforeach()

set(allowed KERNEL32.dll USER32.dll msvcrt.dll)
foreach(dll IN LISTS dlls)
  if(NOT dll IN_LIST allowed)
    list(APPEND problems "imports ${dll}")
  endif()
endforeach()
foreach(dll IN LISTS allowed)
  if(NOT dll IN_LIST dlls)
    list(APPEND problems "does not import ${dll}")
  endif()
endforeach()
set(user32 "${functions_USER32.dll}")
list(SORT user32)
if(NOT user32 STREQUAL "MessageBoxA;WaitForInputIdle")
  list(APPEND problems "imports from USER32.dll: '${user32}', not MessageBoxA and WaitForInputIdle")
endif()
foreach(function CreateProcessA CloseHandle ExitProcess GetACP GetModuleFileNameA GetProcessHeap
                 HeapAlloc HeapFree SetCurrentDirectoryA Sleep WaitForSingleObject)
  if(NOT function IN_LIST functions_KERNEL32.dll)
    list(APPEND problems "does not import ${function} from KERNEL32.dll")
  endif()
endforeach()

file(SIZE ${EXECUTABLE} size)
math(EXPR limit "128 * 1024")
if(size GREATER limit)
  list(APPEND problems "${size} bytes, more than ${limit}")
endif()

message(STATUS "${EXECUTABLE}: ${size} bytes; imports ${dlls}; USER32.dll: ${user32}")
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The Windows executable is not as shipped:\n  ${text}")
endif()
