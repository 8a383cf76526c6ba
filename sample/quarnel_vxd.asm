; QUARNEL.VXD of the sample medium: a static virtual device driver for
; Windows 95 and 98 that loads and does nothing. The install copies it into
; the system directory and registers it under
; HKLM\System\CurrentControlSet\Services\VxD\QUARNEL (StaticVxD), so that the
; next Windows start loads it; a file that were no driver would stop that
; start with an error about the device file.
;
; The file is written byte for byte here, as nasm's flat binary: a DOS stub,
; the linear executable (LE) header that VMM's loader reads, one object of
; one page holding the device descriptor block (DDB) and the control
; procedure, and the one fixup that points the DDB at that procedure.
;
;   nasm -f bin -o quarnel.vxd quarnel_vxd.asm

        bits    16
        org     0

PAGE_SIZE       equ 1000h
DDK_VERSION     equ 0400h           ; Windows 95's
UNDEFINED_DEVICE_ID     equ 0
UNDEFINED_INIT_ORDER    equ 80000000h

; --- DOS header and stub ------------------------------------------------
mz:     db      'MZ'
        dw      (stub_end - mz) % 512         ; bytes on the last 512-byte page
        dw      (stub_end - mz + 511) / 512 ; 512-byte pages
        dw      0                       ; relocations
        dw      (stub - mz) / 16         ; header size in paragraphs
        dw      0, 0FFFFh               ; least and most extra paragraphs
        dw      0, 0B8h                 ; SS, SP
        dw      0                       ; checksum
        dw      0, 0                    ; IP, CS
        dw      40h                     ; relocation table: a new executable
        dw      0                       ; overlay
        times   3Ch - ($ - mz) db 0
        dd      le - mz                 ; where the LE header starts

stub:   push    cs                      ; started from DOS: say what it is
        pop     ds
        mov     dx, stub_text - stub
        mov     ah, 9
        int     21h
        mov     ax, 4C01h
        int     21h
stub_text:
        db      'QUARNEL.VXD is a Windows driver.', 13, 10, '$'
stub_end:
        align   16, db 0

; --- LE header (offsets in the comments are from its start) -------------
le:     db      'LE'                    ; 00
        db      0, 0                    ; 02 byte and word order: little-endian
        dd      0                       ; 04 format level
        dw      2                       ; 08 processor: 80386
        dw      4                       ; 0A system: Windows 386 (a VxD)
        dd      0                       ; 0C module version
        dd      00038000h               ; 10 a library module, a static VxD
        dd      PAGES                   ; 14 pages
        dd      0, 0                    ; 18 no start object and EIP
        dd      0, 0                    ; 20 no stack object and ESP
        dd      PAGE_SIZE               ; 28 page size
        dd      page_end - page         ; 2C bytes on the last page
        dd      fixups_end - fixup_pages ; 30 fixup section size
        dd      0                       ; 34 its checksum
        dd      fixup_pages - objects   ; 38 loader section size
        dd      0                       ; 3C its checksum
        dd      objects - le            ; 40 object table
        dd      OBJECTS                 ; 44 objects
        dd      page_map - le           ; 48 object page map
        dd      0                       ; 4C no iterated pages
        dd      resident_names - le     ; 50 resource table (none)
        dd      0                       ; 54 resources
        dd      resident_names - le     ; 58 resident name table
        dd      entries - le            ; 5C entry table
        dd      0, 0                    ; 60 no module directives
        dd      fixup_pages - le        ; 68 fixup page table
        dd      fixup_records - le      ; 6C fixup record table
        dd      fixups_end - le         ; 70 import module names (none)
        dd      0                       ; 74 import modules
        dd      fixups_end - le         ; 78 import procedure names (none)
        dd      0                       ; 7C no per-page checksums
        dd      page - mz               ; 80 data pages, from the file's start
        dd      PAGES                   ; 84 preload pages
        dd      nonresident_names - mz  ; 88 non-resident names, from the file's start
        dd      nonresident_end - nonresident_names ; 8C their length
        dd      0                       ; 90 their checksum
        dd      0                       ; 94 no automatic data object
        dd      0, 0                    ; 98 no debug information
        dd      0, 0                    ; A0 no instance pages
        dd      0                       ; A8 heap size
        times   0C0h - ($ - le) db 0    ; AC reserved
        dd      0, 0                    ; C0 no Windows version resource
        dw      UNDEFINED_DEVICE_ID     ; C8 device ID
        dw      DDK_VERSION             ; CA DDK version

; --- Object table: one object, code and data together, kept in memory ---
OBJECTS equ     1
objects:
        dd      page_end - page         ; virtual size
        dd      0                       ; relocation base: placed by the loader
        dd      2047h                   ; readable, writable, executable, preload, 32-bit
        dd      1                       ; first page map entry
        dd      PAGES                   ; page map entries
        dd      0

; --- Object page map: page 1, a plain page ------------------------------
PAGES   equ     1
page_map:
        db      0, 0, 1, 0

; --- Resident names: the module, then the DDB, exported as ordinal 1 ----
resident_names:
        db      7, 'QUARNEL'
        dw      0
        db      11, 'QUARNEL_DDB'
        dw      1
        db      0

; --- Entry table: ordinal 1 is the DDB, a 32-bit entry in object 1 ------
entries:
        db      1, 3                    ; one entry, 32-bit
        dw      1                       ; object 1
        db      3                       ; exported, shared data
        dd      ddb - page
        db      0                       ; end of the table

; --- Fixups: page 1 has one, DDB_Control_Proc := object 1 + its offset --
fixup_pages:
        dd      fixup_records - fixup_records  ; page 1's records start
        dd      fixups_end - fixup_records     ; and end
fixup_records:
        db      07h                     ; a 32-bit offset
        db      00h                     ; to an internal reference, 16-bit target
        dw      ddb_control_proc - page ; where in the page
        db      1                       ; target object
        dw      control_proc - page     ; target offset
fixups_end:

nonresident_names:
        db      21, 'Quarnel sample driver'
        dw      0
        db      0
nonresident_end:

        align   512, db 0

; --- Page 1 -------------------------------------------------------------
        bits    32
page:
; The device descriptor block, as Declare_Virtual_Device of the Windows 95
; DDK lays it out.
ddb:
        dd      0                       ; DDB_Next, VMM's
        dw      DDK_VERSION             ; DDB_SDK_Version
        dw      UNDEFINED_DEVICE_ID     ; DDB_Req_Device_Number
        db      1, 0                    ; DDB_Dev_Major_Version, DDB_Dev_Minor_Version
        dw      0                       ; DDB_Flags
        db      'QUARNEL '              ; DDB_Name, eight characters
        dd      UNDEFINED_INIT_ORDER    ; DDB_Init_Order
ddb_control_proc:
        dd      0                       ; DDB_Control_Proc, set by the fixup
        dd      0                       ; DDB_V86_API_Proc: none
        dd      0                       ; DDB_PM_API_Proc: none
        dd      0                       ; DDB_V86_API_CSIP
        dd      0                       ; DDB_PM_API_CSIP
        dd      0                       ; DDB_Reference_Data
        dd      0                       ; DDB_Service_Table_Ptr: no services
        dd      0                       ; DDB_Service_Table_Size
        dd      0                       ; DDB_Win32_Service_Table
        db      'Prev'                  ; DDB_Prev
        dd      ddb_end - ddb           ; DDB_Size
        db      'Rsv1', 'Rsv2', 'Rsv3'  ; DDB_Reserved1 to 3
ddb_end:

; Every system control message succeeds (carry clear) and does nothing:
; the device loads, initialises and ends without a trace.
control_proc:
        clc
        ret
page_end:
