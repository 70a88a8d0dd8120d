# Removes what the cmake --install runs of a build tree installed, as their records in
# install_records/ describe them (cmake/record_keeping.cmake), and nothing else:
#
# - nothing of a record that is incomplete or unreadable, or whose root now resolves to
#   another real path (the root, or a folder above it, became a link), or on whose way
#   another user could move things while this runs (velha_shared_folder);
# - a file only when it lies below the root through no link but those the record names as
#   there before the install and still leading where they led, is a regular file, no
#   link, and still holds what the install wrote (whatever it holds, when the install
#   stopped while writing it);
# - a folder only when the install created it, it is no link, and it is empty (rmdir
#   removes nothing else); the root, and the folders the install made to hold it, on the
#   same terms. A folder that holds someone else's files is kept, and that is no failure.
#
# Every entry it could not remove is named with the reason; a record is deleted only once
# everything it names is gone, otherwise it is kept, holding what is left, and the
# uninstall fails. Paths are handled as bytes: never split as lists, matched as patterns
# or removed recursively.
#
# cmake -DBUILD_DIR=<build tree> [-DPREFIX=<prefix>] -P uninstall.cmake
#   (the `uninstall` target: every install of the build; with PREFIX, only the one there)
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/record_keeping.cmake)

set(records "")
if(DEFINED PREFIX)
  velha_root("" "${PREFIX}" root)
  velha_record_file("${BUILD_DIR}" "${root}" record)
  if(EXISTS "${record}")
    set(records "${record}")
  endif()
else()
  velha_records("${BUILD_DIR}" records)
endif()
if(records STREQUAL "")
  message(FATAL_ERROR "Nothing to uninstall: ${BUILD_DIR}/install_records/ holds no record "
                      "of an install. cmake --install writes one for each prefix, and it is "
                      "removed once its files are uninstalled.")
endif()

# keep(<what> <why>): an entry that stays, named on standard error, and the record with it.
set(kept 0)
function(keep what why)
  message(NOTICE "Kept ${what}: ${why}")
  math(EXPR count "${kept} + 1")
  set(kept ${count} PARENT_SCOPE)
endfunction()

# Whether a folder on the way from the root to <relative> (itself included when
# <and_itself>) is other than a plain folder: what lies behind a link is not where the
# install put it, unless the record (it_ENTRIES) names that link as there before the
# install and it still leads where it led then.
function(behind_a_link root relative and_itself result)
  set(${result} FALSE PARENT_SCOPE)
  string(REPLACE "/" ";" parts "${relative}")
  if(NOT and_itself)
    list(POP_BACK parts)
  endif()
  set(below "")
  foreach(part IN LISTS parts)
    string(APPEND below "${part}")
    velha_kind("${root}/${below}" kind why)
    if(kind STREQUAL "link")
      velha_link_entry("${root}" "${below}" entry)
      string(FIND "\n${it_ENTRIES}" "\n${entry}\n" known)
      if(known EQUAL -1)
        set(${result} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
    string(APPEND below "/")
  endforeach()
endfunction()

# The system's reason, from a command's last message: what follows its last ": ".
function(reason_of message result)
  string(STRIP "${message}" message)
  string(REGEX REPLACE "^.*: " "" message "${message}")
  set(${result} "${message}" PARENT_SCOPE)
endfunction()

# rmdir removes a folder only when it is empty, and never through a link. One that holds
# what this uninstall kept stays recorded, to go with it next time; one that holds only
# someone else's files is theirs too now: kept, and no longer recorded.
function(remove_folder folder relative)
  execute_process(COMMAND env LC_ALL=C rmdir -- "${folder}" ERROR_VARIABLE failure OUTPUT_QUIET)
  velha_kind("${folder}" kind why)
  if(relative MATCHES "^\\.")
    set(holds_kept "${left}")  # the root, or above it: anything kept lies inside
  else()
    string(FIND "${left}" " ${relative}/" holds_kept)
    if(holds_kept EQUAL -1)
      set(holds_kept "")
    endif()
  endif()
  if(kind STREQUAL "none")
    message(STATUS "Removed folder ${folder}")
  elseif(failure MATCHES "not empty" AND NOT holds_kept STREQUAL "")
    message(STATUS "Kept folder ${folder}: it holds what was kept")
    velha_entry(folder "" "${relative}" entry)
    set(left "${left}${entry}\n" PARENT_SCOPE)
  elseif(failure MATCHES "not empty")
    message(STATUS "Kept folder ${folder}: it holds files the install did not write")
  else()
    reason_of("${failure}" failure)
    keep("folder ${folder}" "it could not be removed: ${failure}")
    set(kept ${kept} PARENT_SCOPE)
    velha_entry(folder "" "${relative}" entry)
    set(left "${left}${entry}\n" PARENT_SCOPE)
  endif()
endfunction()

foreach(record IN LISTS records)
  velha_record_lock("${record}")
  velha_record_read("${record}" it)
  if(NOT it_OK)
    keep("${record}" "${it_WHY}, so nothing it names was removed")
    continue()
  endif()
  set(root "${it_ROOT}")
  string(SUBSTRING "${root}" 0 1 first)
  if(NOT root STREQUAL "" AND NOT first STREQUAL "/")
    keep("${record}" "it names an install root that is not absolute, so nothing was removed")
    continue()
  endif()
  velha_real_path("${root}" real)
  if(NOT real STREQUAL it_REAL)
    keep("${root}" "it, or a folder above it, now leads to ${real}, not to ${it_REAL} where "
                   "the install wrote, so nothing of it was removed; the record stays in ${record}")
    continue()
  endif()
  # The folders the record names below the root, and those that hold its files.
  set(holders "")
  string(REGEX MATCHALL "[^\n]+" lines "${it_ENTRIES}")
  foreach(line IN LISTS lines)
    velha_entry_parts("${line}" entry hash relative)
    if(entry STREQUAL "" OR entry STREQUAL "link")
      continue()
    endif()
    if(relative MATCHES "${velha_plain_path}")
      if(entry STREQUAL "folder")
        list(APPEND holders "${relative}")
      endif()
      cmake_path(GET relative PARENT_PATH parent)
      if(NOT parent STREQUAL "")
        list(APPEND holders "${parent}")
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES holders)
  velha_shared_folder("${root}" "${holders}" shared why)
  if(NOT shared STREQUAL "")
    keep("${root}" "another user could change ${shared} while this runs (${why}), and so make "
                   "it remove what is not the install's; nothing of it was removed, and the "
                   "record stays in ${record}")
    continue()
  endif()
  message(STATUS "Uninstalling from ${root}/")
  set(kept_before ${kept})
  set(left "")  # the entries that stay in the record

  # The files, each line found by its line end (the names are plain: checked here).
  set(folders "")
  string(REGEX MATCHALL "[^\n]+" lines "${it_ENTRIES}")
  foreach(line IN LISTS lines)
    velha_entry_parts("${line}" entry hash relative)
    if(entry STREQUAL "file" OR entry STREQUAL "writing")
      set(path "${root}/${relative}")
      if(NOT relative MATCHES "${velha_plain_path}")
        keep("${relative}" "not a path below the install root ${root}")
        string(APPEND left "${line}\n")
        continue()
      endif()
      behind_a_link("${root}" "${relative}" FALSE linked)
      velha_kind("${path}" kind why)
      if(linked)
        keep("${path}" "a folder on its way from ${root} is now a link")
      elseif(kind STREQUAL "none")
        message(STATUS "Already gone: ${path}")
        continue()
      elseif(kind STREQUAL "link")
        keep("${path}" "it is now a link, not the file the install wrote")
      elseif(kind STREQUAL "folder")
        keep("${path}" "it is now a folder")
      elseif(kind STREQUAL "other")
        keep("${path}" "it is no longer a regular file")
      elseif(kind STREQUAL "unknown")
        keep("${path}" "${why}")
      elseif(kind STREQUAL "unreadable")
        keep("${path}" "it cannot be read, so what it holds cannot be checked")
      else()
        file(SHA256 "${path}" now)
        if(NOT now STREQUAL hash AND entry STREQUAL "file")
          keep("${path}" "it was changed after the install")
        else()
          execute_process(COMMAND rm -f -- "${path}" ERROR_VARIABLE failure)
          velha_kind("${path}" kind why)
          if(kind STREQUAL "none")
            message(STATUS "Removed ${path}")
            continue()
          endif()
          reason_of("${failure}" failure)
          keep("${path}" "it could not be removed: ${failure}")
        endif()
      endif()
      string(APPEND left "${line}\n")
    elseif(entry STREQUAL "folder")
      if(relative MATCHES "^\\.(\\.(/\\.\\.)*)?$" OR relative MATCHES "${velha_plain_path}")
        list(APPEND folders "${relative}")
      else()
        keep("${relative}" "not a folder below the install root ${root}")
        string(APPEND left "${line}\n")
      endif()
    elseif(entry STREQUAL "link")
      string(APPEND left "${line}\n")  # the user's: never removed
    else()
      keep("${line}" "not an entry of an install record")
      string(APPEND left "${line}\n")
    endif()
  endforeach()


  # Deepest first, so that a folder emptied by its children's removal goes too; then the
  # root and the folders above it, nearest first.
  set(below_root ${folders})
  list(FILTER below_root EXCLUDE REGEX "^\\.")
  list(SORT below_root ORDER DESCENDING)
  foreach(relative IN LISTS below_root)
    behind_a_link("${root}" "${relative}" TRUE linked)
    velha_kind("${root}/${relative}" kind why)
    if(linked)
      keep("${root}/${relative}" "it, or a folder on its way, is now a link")
      velha_entry(folder "" "${relative}" entry)
      string(APPEND left "${entry}\n")
    elseif(kind STREQUAL "folder")
      remove_folder("${root}/${relative}" "${relative}")
    endif()
  endforeach()
  set(folder "${root}")
  set(up ".")
  while(NOT folder STREQUAL "" AND up IN_LIST folders)
    velha_kind("${folder}" kind why)
    if(kind STREQUAL "folder")
      remove_folder("${folder}" "${up}")
    endif()
    velha_one_up(folder up)
  endwhile()

  if(kept EQUAL kept_before)
    file(REMOVE "${record}")
  else()
    velha_record_write("${record}" "${root}" "${it_REAL}" "${left}")
    message(NOTICE "The record of what is left stays in ${record}")
  endif()
endforeach()

if(kept GREATER 0)
  message(FATAL_ERROR "${kept} entries were kept, as said above: uninstall again once "
                      "their reasons are dealt with")
endif()
