// The message catalogue: every text the user sees, in the OEM code page, in writable storage
// because ShowText converts each entry in place.
#include "text/message_catalogue.h"

MessageCatalogue g_catalogue = {
    // agreementCaption
    "Vantrel Software License Agreement",
    // agreementText: 2,580 characters, 12 CR LF pairs; shown in a multi-line edit control.
    "All users of Harvelon must agree to the terms that follow before the product is "
    "installed, copied or used in any way. If you do not agree to them, press Cancel now and "
    "return the product to the place where you obtained it.\r\n"
    "\r\n"
    "1. PERMITTED USES\r\n"
    "You may install and use one copy of Harvelon on a single computer at a time. You may "
    "make one copy of the product solely for backup or archival purposes, provided that the "
    "copy carries every notice of ownership found on the original. You may transfer the "
    "product once to another party who accepts these terms, if you keep no copy of it and "
    "hand over all of its parts, its media and its printed materials. The product is "
    "licensed, not sold, and Vantrel Software keeps the title to it and to every copy.\r\n"
    "\r\n"
    "2. USES NOT PERMITTED\r\n"
    "You may not rent, lease or lend the product, run it on more than one computer at the "
    "same time, or share it over a network with users who have no licence of their own. You "
    "may not reverse engineer, decompile or disassemble the product, except where the law in "
    "force expressly permits it despite this limitation. You may not remove or alter any "
    "notice of ownership, nor publish, sell or distribute any part of the product, changed or "
    "unchanged, without the prior written consent of Vantrel Software. These limits bind "
    "anyone you allow to use it, too.\r\n"
    "\r\n"
    "3. LIMITED WARRANTY\r\n"
    "Vantrel Software warrants that the media on which the product is supplied are free from "
    "defects in materials and workmanship under normal use for ninety days from the date of "
    "purchase. Your sole remedy under this warranty is the replacement of defective media "
    "returned with a proof of purchase. Apart from this, the product is provided as it is, "
    "without warranty of any kind, and in no event shall Vantrel Software be liable for any "
    "loss of profits, of data or of business, or for any other damage arising from the use of "
    "the product or from the inability to use it. Some places do not allow the exclusion of "
    "implied warranties, so the above may not apply to you.\r\n"
    "\r\n"
    "4. MISCELLANEOUS\r\n"
    "This agreement is the entire agreement between you and Vantrel Software concerning the "
    "product and replaces every earlier statement about it. Should any part of it be found "
    "invalid, the remaining parts stay in force. The licence ends at once if you fail to "
    "comply with any of its terms; you must then destroy every copy of the product in your "
    "possession. Harvelon and Vantrel are trademarks of Vantrel Software. All rights not "
    "expressly granted here are reserved. This agreement is governed by the laws of the place "
    "where the product was purchased.",
    // okLabel, cancelLabel, agreeLabel
    "&OK",
    "&Cancel",
    "&Agree",
    // setupCaption
    "Harvelon Setup for Windows 95",
    // defaultEntry[PromptMode]
    {"C:\\HARVEL95", "Harvelon for Windows 95"},
    // uninstallQuestion, uninstallCaption
    "This will remove the Harvelon application!\n\nAre you sure you wish to do this?",
    "Confirm Uninstall",
    // prompt[PromptMode]
    {"\nWelcome to Harvelon Setup for Windows 95!\n\nThis installation requires about 5MB of disk "
     "space.\n\nPlease choose your installation directory,\nthen press ENTER or click on OK",
     "\n\nPlease choose a preferred Groupname,\n\nthen press ENTER or click on OK"},
    // incompletePath, incompletePathCaption
    "Please enter a full path including drive.",
    "Incomplete Directory Name",
    // existingDirectory, existingDirectoryCaption
    "That directory already exists.\n\nInstall to it anyway?",
    "Confirm Directory Choice",
    // unusableEntry, unusableEntryCaption
    "Cannot accept that entry",
    "Invalid Directory Name",
    // cancelQuestion, cancelCaption
    "Are you sure you wish to cancel?",
    "Confirm Cancel",
    // nameTooLong, nameTooLongCaption
    "Please use a directory name with up to 8 characters\n(with an optional extension of up to 3 "
    "characters).",
    "Invalid Directory Name",
};
