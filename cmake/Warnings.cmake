# Every target of the project builds with these warnings, as errors.
add_compile_options(-Wall -Wextra -Wpedantic -Werror)
