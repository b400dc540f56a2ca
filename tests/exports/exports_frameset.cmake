# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# The frame set of the job data model.
if(TARGET kxNotifyKXMessage)
    kx_add_export_check(NAME exports_frameset TARGET kxNotifyKXMessage
        REQUIRE
            "^kxJ::_binaryFrameSet::_binaryFrameSet\\(\\)"
            "^kxJ::_binaryFrameSet::clear\\("
            "^kxJ::_binaryFrameSet::convertStartFrame2Filenumber\\(int const&\\)"
            "^kxJ::_binaryFrameSet::operator==\\("
            "^kxJ::_binaryFrameSet::asString_Bool\\(int const\\*\\) const"
            "^kxJ::_binaryFrameSet::fromString_Bool\\(_kxString8_allSize<1000>\\)"
            "^kxJ::_binaryFrameSet::asString_BitA85\\(int const\\*\\) const"
            "^kxJ::_binaryFrameSet::fromString_BitA85\\(QByteArray const&\\)"
            "^kxJ::_binaryFrameSet::asString_FrameSet\\(\\) const"
            "^kxJ::_binaryFrameSet::fromString_FrameSet\\(_kxString8_allSize<1000>\\)"
            "^kxJ::_binaryFrameSet::mergeWith\\(kxJ::_binaryFrameSet const&\\)")
endif()
