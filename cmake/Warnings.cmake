# Our own code builds with every common warning as an error.
function(qelvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Common settings of every library and test target of the project.
function(qelvo_target target)
  qelvo_warnings(${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
