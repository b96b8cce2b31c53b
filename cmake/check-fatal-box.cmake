# Runs the fatal-error probe under Wine with a trace of every call into
# Windows' DLLs and checks what Wine cannot show without a display: the
# message box's text, title and type as MessageBoxA receives them (CP936
# bytes), then the exit status -1 (255 as Wine reports it) with no end
# routine run.
#
#   cmake -DWINE_RUN=wine-run.sh -DPREFIX=<prefix> -DPROGRAM=fatal-probe.exe
#         -P check-fatal-box.cmake

cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QS_WINE_DEBUG=+relay sh ${WINE_RUN} ${PREFIX} ${PROGRAM}
  OUTPUT_VARIABLE output ERROR_VARIABLE trace RESULT_VARIABLE status)

# 运行时出错! CR LF CR LF 错误信息：分配 9223372036854775807 字节内存失败! CR LF,
# titled 错误, with MB_OK | MB_ICONERROR; Wine's trace writes bytes as \xNN.
set(text "\"\\xd4\\xcb\\xd0\\xd0\\xca\\xb1\\xb3\\xf6\\xb4\\xed!\\r\\n\\r\\n")
string(APPEND text "\\xb4\\xed\\xce\\xf3\\xd0\\xc5\\xcf\\xa2\\xa3\\xba")
string(APPEND text "\\xb7\\xd6\\xc5\\xe4 9223372036854775807 ")
string(APPEND text "\\xd7\\xd6\\xbd\\xda\\xc4\\xda\\xb4\\xe6\\xca\\xa7\\xb0\\xdc!\\r\\n\"")
set(title "\"\\xb4\\xed\\xce\\xf3\"")

set(problems "")
string(REGEX MATCH "Call user32\\.MessageBoxA\\([^\n]*" call "${trace}")
if(NOT call)
  list(APPEND problems "MessageBoxA was not called")
else()
  string(FIND "${call}" "${text}," at_text)
  string(FIND "${call}" "${title},00000010)" at_title)
  if(at_text EQUAL -1 OR at_title EQUAL -1)
    list(APPEND problems "MessageBoxA got other words, title or type: ${call}")
  endif()
endif()
if(NOT status EQUAL 255)
  list(APPEND problems "exit status ${status}, not 255")
endif()
if(output MATCHES "end routine ran")
  list(APPEND problems "an end routine ran")
endif()

message(STATUS "${call}")
if(problems)
  list(JOIN problems "\n  " listed)
  message(FATAL_ERROR "The fatal error is not as it should be:\n  ${listed}")
endif()
