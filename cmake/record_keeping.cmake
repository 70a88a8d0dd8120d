# The install records, shared by the install (cmake/record_install.cmake.in) and the
# uninstall (cmake/uninstall.cmake). Each install root has a record of its own in the build
# tree, install_records/<SHA-256 of the root>.txt, so that every root installed from one
# build can be removed, in any order:
#
#   velha install record
#   root <N>            then the install root (DESTDIR and prefix, absolute): N bytes and
#   <root>              a line end, whatever bytes they are; "" is "/"
#   real <N>            then the root's real path when the install wrote it, the same way:
#   <real path>         the uninstall removes nothing if the root now resolves elsewhere
#   file <SHA-256> <path>   a file the install wrote, with what it held
#   writing <SHA-256> <path>  a file an install was writing, with what it was to hold:
#                           one that stopped half way (a full disk) wrote it, whatever it
#                           holds, and the uninstall removes it as such
#   folder <path>           a folder the install created: "." is the root, ".." the
#                           folder that holds it, and so on up
#   link <SHA-256> <path>   a folder on the way to the files that was already a link when
#                           the install ran, with the SHA-256 of the real path it led to:
#                           the user's (a dotfile manager's), never removed, and no reason
#                           to keep the files behind it while it leads there still
#   end                 the last line: a record without it is incomplete and removes nothing
#
# The paths of entries are relative to the root and are the project's own plain names.
# Roots are kept as bytes, never split as lists or matched as patterns; a record is
# written under another name (<record>.new) and then renamed over the old one, so it is
# whole or absent, and a .new left by an interrupted write is no record. An install and an
# uninstall hold <record>.lock while they read and write a record, so that two at once
# take turns rather than each write what it read before the other.

# An entry's line (velha_entry: <kind> <SHA-256> <path>, or folder <path> with "" for the
# hash) and its parts (velha_entry_parts sets <kind_var> to file, writing, folder or link,
# or to "" for a line that is no entry): the only place that knows how entries are written.
function(velha_entry kind hash relative result)
  if(hash STREQUAL "")
    set(${result} "${kind} ${relative}" PARENT_SCOPE)
  else()
    set(${result} "${kind} ${hash} ${relative}" PARENT_SCOPE)
  endif()
endfunction()

function(velha_entry_parts line kind_var hash_var relative_var)
  set(kind "")
  set(hash "")
  set(relative "")
  if(line MATCHES "^(file|writing|link) ([0-9a-f]+) (.*)$")
    set(kind "${CMAKE_MATCH_1}")
    set(hash "${CMAKE_MATCH_2}")
    set(relative "${CMAKE_MATCH_3}")
  elseif(line MATCHES "^folder (.*)$")
    set(kind folder)
    set(relative "${CMAKE_MATCH_1}")
  endif()
  set(${kind_var} "${kind}" PARENT_SCOPE)
  set(${hash_var} "${hash}" PARENT_SCOPE)
  set(${relative_var} "${relative}" PARENT_SCOPE)
endfunction()

# One of the project's own relative paths: plain names, none of them "." or "..".
set(velha_plain_path "^[A-Za-z0-9_+-][A-Za-z0-9_.+-]*(/[A-Za-z0-9_+-][A-Za-z0-9_.+-]*)*$")
set(velha_record_header "velha install record\n")

function(velha_record_file build_dir root result)
  string(SHA256 name "${root}")
  set(${result} "${build_dir}/install_records/${name}.txt" PARENT_SCOPE)
endfunction()

# Every complete record of a build tree, as paths (their names are hashes: safe in a list).
# Listed by ls, since the build tree's path may hold what a glob reads as a pattern.
function(velha_records build_dir result)
  execute_process(COMMAND ls -- "${build_dir}/install_records" OUTPUT_VARIABLE names ERROR_QUIET)
  string(REGEX MATCHALL "[^\n]+" names "${names}")
  list(FILTER names INCLUDE REGEX "^[0-9a-f]+\\.txt$")
  list(TRANSFORM names PREPEND "${build_dir}/install_records/")
  set(${result} "${names}" PARENT_SCOPE)
endfunction()

# Waits for, then holds until this cmake ends, the lock of the record at <file>.
function(velha_record_lock file)
  get_filename_component(folder "${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(LOCK "${file}.lock" GUARD PROCESS TIMEOUT 600 RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Nothing was changed: the install record ${file} stays locked by "
                        "another install or uninstall of this build: ${failed}")
  endif()
endfunction()

# An install root as the install and the uninstall both take it: DESTDIR and the prefix,
# absolute (a relative one from the folder cmake runs in), with "." and ".." resolved by
# name ("q1/../q2" is q2, whether or not q1 exists) and no trailing '/'; "" is "/".
function(velha_root destdir prefix result)
  set(root "${destdir}${prefix}")
  if(NOT root STREQUAL "")
    cmake_path(ABSOLUTE_PATH root BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE)
  endif()
  string(REGEX REPLACE "/+$" "" root "${root}")
  set(${result} "${root}" PARENT_SCOPE)
endfunction()

# Where another user than the one running this and root could change what lies on the
# way to <root> or to any of the <relatives> below it (a list of plain names), following
# each by name and by its real path: a folder they
# own, or one others may write in (unless its sticky bit keeps them from moving or removing
# what is not theirs, as /tmp's does). Such a user could put a link there between a check
# and a removal or a write, and so reach outside the root. <result> is "" where there is
# none, else the folder; <why> then says why.
set(velha_shared_script [=[
me=$(id -u)
check() {
  info=$(LC_ALL=C stat -c '%u %a %U' -- "$1" 2>&1) ||
    { printf '%s\n%s' "it cannot be examined: ${info##*: }" "$1"; exit 0; }
  owner=${info%% *} info=${info#* }
  mode=${info%% *} name=${info#* }
  if [ "$owner" != "$me" ] && [ "$owner" != 0 ]; then
    printf '%s\n%s' "it belongs to $name" "$1"; exit 0
  fi
  if [ $((0$mode & 022)) -ne 0 ] && [ $((0$mode & 01000)) -eq 0 ]; then
    printf '%s\n%s' "others can write in it (mode $mode)" "$1"; exit 0
  fi
}
# walk FOLDER REST: checks each folder of REST that exists below FOLDER, which is checked.
walk() {
  folder=$1 rest=$2
  while [ -n "$rest" ]; do
    part=${rest%%/*}
    if [ "$part" = "$rest" ]; then rest=; else rest=${rest#*/}; fi
    [ -n "$part" ] || continue
    folder=$folder/$part
    # A link is as safe as the folder that holds it; where it leads is walked on its own.
    if [ -h "$folder" ]; then :
    elif [ -d "$folder" ]; then check "$folder"
    else return
    fi
  done
}
# and_where_it_leads PATH: the folders of PATH's real path, where it is not PATH itself.
and_where_it_leads() {
  real=$(realpath -m -- "$1" && echo x) && real=${real%??} &&
    [ "$real" != "$1" ] && check / && walk "" "${real#/}"
}
root=$1
shift
check /
walk "" "${root#/}"
and_where_it_leads "${root:-/}"
for relative do
  walk "$root" "$relative"
  and_where_it_leads "$root/$relative"
done
]=])
function(velha_shared_folder root relatives result why)
  execute_process(COMMAND sh -c "${velha_shared_script}" sh "${root}" ${relatives}
                  OUTPUT_VARIABLE answer)
  string(FIND "${answer}" "\n" line_end)
  if(line_end EQUAL -1)
    set(${result} "" PARENT_SCOPE)
    return()
  endif()
  string(SUBSTRING "${answer}" 0 ${line_end} reason)
  math(EXPR line_end "${line_end} + 1")
  string(SUBSTRING "${answer}" ${line_end} -1 folder)
  set(${result} "${folder}" PARENT_SCOPE)
  set(${why} "${reason}" PARENT_SCOPE)
endfunction()

# Reads the record at <file>: <prefix>_OK is TRUE, or FALSE with <prefix>_WHY; then
# <prefix>_ROOT, <prefix>_REAL and <prefix>_ENTRIES (the entry lines, each ended).
function(velha_record_read file prefix)
  set(${prefix}_OK FALSE PARENT_SCOPE)
  if(NOT EXISTS "${file}")
    set(${prefix}_WHY "it cannot be read" PARENT_SCOPE)
    return()
  endif()
  file(READ "${file}" rest)
  set(values "")
  foreach(field IN ITEMS header root real)
    if(field STREQUAL "header")
      string(LENGTH "${velha_record_header}" length)
      string(SUBSTRING "${rest}" 0 ${length} value)
      if(NOT value STREQUAL velha_record_header)
        set(${prefix}_WHY "it is not an install record" PARENT_SCOPE)
        return()
      endif()
    else()
      if(NOT rest MATCHES "^${field} ([0-9]+)\n")
        set(${prefix}_WHY "it has no ${field} line" PARENT_SCOPE)
        return()
      endif()
      string(LENGTH "${CMAKE_MATCH_0}" length)
      string(SUBSTRING "${rest}" ${length} -1 rest)
      set(length ${CMAKE_MATCH_1})
      string(LENGTH "${rest}" left)
      if(left GREATER length)
        string(SUBSTRING "${rest}" 0 ${length} value)
        string(SUBSTRING "${rest}" ${length} 1 line_end)
      else()
        set(line_end "")
      endif()
      if(NOT line_end STREQUAL "\n")
        set(${prefix}_WHY "it ends inside its ${field} line" PARENT_SCOPE)
        return()
      endif()
      math(EXPR length "${length} + 1")
      string(TOUPPER ${field} name)
      set(${prefix}_${name} "${value}" PARENT_SCOPE)
    endif()
    string(SUBSTRING "${rest}" ${length} -1 rest)
  endforeach()
  # The entries, then "end" alone on the last line.
  string(LENGTH "${rest}" length)
  if(length LESS 4)
    set(${prefix}_WHY "it is incomplete: its last line is not \"end\"" PARENT_SCOPE)
    return()
  endif()
  math(EXPR entries_length "${length} - 4")
  string(SUBSTRING "${rest}" ${entries_length} 4 last)
  string(SUBSTRING "${rest}" 0 ${entries_length} entries)
  if(NOT last STREQUAL "end\n" OR (entries_length GREATER 0 AND NOT entries MATCHES "\n$"))
    set(${prefix}_WHY "it is incomplete: its last line is not \"end\"" PARENT_SCOPE)
    return()
  endif()
  set(${prefix}_ENTRIES "${entries}" PARENT_SCOPE)
  set(${prefix}_OK TRUE PARENT_SCOPE)
endfunction()

# Writes the record whole, or not at all: under another name first, then renamed.
function(velha_record_write file root real entries)
  string(LENGTH "${root}" root_length)
  string(LENGTH "${real}" real_length)
  get_filename_component(folder "${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(WRITE "${file}.new" "${velha_record_header}root ${root_length}\n${root}\nreal "
                           "${real_length}\n${real}\n${entries}end\n")
  file(RENAME "${file}.new" "${file}" RESULT failed)
  if(failed)
    message(FATAL_ERROR "Could not write the install record ${file}: ${failed}")
  endif()
endfunction()

# The real path that <path> has, or will have once the folders missing on its way are
# made: that of the nearest folder that exists, followed by the rest.
function(velha_real_path path result)
  set(rest "")
  set(folder "${path}")
  while(NOT folder STREQUAL "" AND NOT EXISTS "${folder}" AND NOT IS_SYMLINK "${folder}")
    string(FIND "${folder}" "/" slash REVERSE)
    if(slash EQUAL -1)  # a relative path, which no record holds: nothing of it resolves
      set(slash 0)
    endif()
    string(SUBSTRING "${folder}" ${slash} -1 last)
    string(PREPEND rest "${last}")
    string(SUBSTRING "${folder}" 0 ${slash} folder)
  endwhile()
  if(folder STREQUAL "")
    set(${result} "${rest}" PARENT_SCOPE)
  else()
    file(REAL_PATH "${folder}" real)
    string(REGEX REPLACE "/$" "" real "${real}")
    set(${result} "${real}${rest}" PARENT_SCOPE)
  endif()
endfunction()

# The entry of <relative>, a link below <root>: "link <SHA-256 of its real path> <relative>".
function(velha_link_entry root relative result)
  file(REAL_PATH "${root}/${relative}" real)
  string(SHA256 hash "${real}")
  velha_entry(link "${hash}" "${relative}" entry)
  set(${result} "${entry}" PARENT_SCOPE)
endfunction()

# One folder up: <folder_var> becomes the folder that holds it, and <up_var>, its name
# in a record ("." the root, ".." the folder that holds it, "../.." and so on), follows.
function(velha_one_up folder_var up_var)
  string(REGEX REPLACE "/[^/]*$" "" folder "${${folder_var}}")
  if("${${up_var}}" STREQUAL ".")
    set(up "..")
  else()
    set(up "${${up_var}}/..")
  endif()
  set(${folder_var} "${folder}" PARENT_SCOPE)
  set(${up_var} "${up}" PARENT_SCOPE)
endfunction()

# What lies at <path>, not following a link there: none, link, folder, file (a regular one
# that can be read), unreadable (a regular one that cannot), other (a FIFO, a device, a
# socket), or unknown when the system cannot tell (<why> then says why). CMake's own tests
# follow links and read "exists" as "can be read", hence the shell's.
set(velha_kind_script [=[
p=$1
if [ -h "$p" ]; then echo link
elif [ -d "$p" ]; then echo folder
elif [ -f "$p" ]; then if [ -r "$p" ]; then echo file; else echo unreadable; fi
elif [ -e "$p" ]; then echo other
elif why=$(LC_ALL=C stat -- "$p" 2>&1); [ -z "${why##*No such file or directory*}" ]; then echo none
else echo "unknown ${why##*: }"
fi
]=])
function(velha_kind path kind why)
  execute_process(COMMAND sh -c "${velha_kind_script}" sh "${path}" OUTPUT_VARIABLE answer
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(answer MATCHES "^unknown (.*)$")
    set(${kind} unknown PARENT_SCOPE)
    set(${why} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${kind} "${answer}" PARENT_SCOPE)
    set(${why} "" PARENT_SCOPE)
  endif()
endfunction()
