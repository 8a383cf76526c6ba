# Writes QUARNEL.SMS, the package definition file that Systems Management
# Server 2.0 imports, into the laid-out medium. Its disk space and run time
# are worked out here from the medium's own files, so that they follow the
# build (the size of SETUP.EXE, the payload) and the Custom program's answer
# file.
#
#   cmake -DMEDIUM=<medium directory> -P package_definition.cmake

# What an install copies from the medium: the setup program, the driver and
# the readme always, and the files of each chosen component.
set(_always SETUP.EXE quarnel readme)
set(_files_wardex wardex alert)
set(_files_pelkin pelkin)
set(_files_orvane orvane)
set(_files_sulmet sulmet)
set(_files_trivel keldan trivel)

# Installed bytes of the components in ${ARGN}.
function(installed_bytes out)
  set(files ${_always})
  foreach(component ${ARGN})
    string(TOLOWER ${component} component)
    if(NOT DEFINED _files_${component})
      message(FATAL_ERROR "Unknown component ${component} in the package's answer file")
    endif()
    list(APPEND files ${_files_${component}})
  endforeach()
  set(total 0)
  foreach(file ${files})
    file(SIZE ${MEDIUM}/${file} size)
    math(EXPR total "${total} + ${size}")
  endforeach()
  set(${out} ${total} PARENT_SCOPE)
endfunction()

# The space in whole kilobytes, rounded up; the time in whole minutes,
# rounded up, of reading the files at a single-speed CD drive's 150 KB/s,
# the slowest the package may run from. At least a minute.
function(estimates bytes space time)
  math(EXPR kilobytes "(${bytes} + 1023) / 1024")
  math(EXPR minutes "(${bytes} + 153600 * 60 - 1) / (153600 * 60)")
  if(minutes LESS 1)
    set(minutes 1)
  endif()
  set(${space} "${kilobytes}KB" PARENT_SCOPE)
  set(${time} ${minutes} PARENT_SCOPE)
endfunction()

installed_bytes(_typical_bytes Wardex Pelkin Orvane Sulmet Trivel)
estimates(${_typical_bytes} _typical_space _typical_time)

file(STRINGS ${MEDIUM}/CUSTOM.INI _components REGEX "^Components=")
string(REGEX REPLACE "^Components=" "" _components "${_components}")
string(REPLACE "," ";" _components "${_components}")
installed_bytes(_custom_bytes ${_components})
estimates(${_custom_bytes} _custom_space _custom_time)

# Every program runs SETUP.EXE from the package's folder, which is the medium
# the setup reads the suite from, silently (it makes no window and asks
# nothing), and writes QUARNEL.MIF in the Windows directory for SMS to read.
# Each needs the restart: the install for its driver, the removal for the
# deletion of the installed SETUP.EXE.
#
# SMS's automatic removal (RemoveProgram, UninstallKey) is not asked for: it
# would run the Uninstall entry's command as the install records it, the
# setup program without a switch, which opens its windows and waits for a
# user. The Uninstall program removes the suite.
set(_common "Run=Hidden\r\nCanRunWhen=UserLoggedOn\r\nUserInputRequired=False\r\nAfterRunning=SMSRestart\r\n")
file(WRITE ${MEDIUM}/QUARNEL.SMS
"[PDF]\r
Version=2.0\r
\r
[Package Definition]\r
Name=Quarnel\r
Version=2.5\r
Publisher=Brenvik\r
Language=English\r
Comment=Quarnel 2.5: Wardex, Pelkin, Orvane, Sulmet and Trivel, hard-disk utilities for Windows 95 and 98\r
Programs=Typical, Custom, Uninstall\r
MIFFileName=QUARNEL\r
MIFName=Quarnel\r
MIFVersion=2.5\r
MIFPublisher=Brenvik\r
\r
[Typical]\r
Name=Typical\r
CommandLine=SETUP.EXE /SILENT /MIF=QUARNEL\r
Comment=Installs every component to C:\\QUARNEL, or where an earlier install lies\r
${_common}EstimatedDiskSpace=${_typical_space}\r
EstimatedRunTime=${_typical_time}\r
\r
[Custom]\r
Name=Custom\r
CommandLine=SETUP.EXE /SILENT /LOADINF=CUSTOM.INI /MIF=QUARNEL\r
Comment=Installs the directory, components and options that CUSTOM.INI in the package names\r
${_common}EstimatedDiskSpace=${_custom_space}\r
EstimatedRunTime=${_custom_time}\r
\r
[Uninstall]\r
Name=Uninstall\r
CommandLine=SETUP.EXE /SILENT /REMOVE /MIF=QUARNEL\r
Comment=Removes the installed suite\r
${_common}EstimatedDiskSpace=0KB\r
EstimatedRunTime=1\r
")
